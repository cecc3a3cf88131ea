// nimbrelsrc in `nimbrelsrc ! fakesink sync=false`: frames dropped at each
// camera's highest rate, the element's processor time per frame beside a warm
// memcpy of the frame, the time from a frame's device timestamp to the sink,
// and how long PLAYING -> NULL takes on a 1 fps camera. One run, figures as
// counters. This program is the wx application: the element runs its camera
// calls on this thread, so every wait here pumps the event loop.
#include "ConsoleApp.h"
#include "EventPump.h"
#include "Measures.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>
#include <benchmark/benchmark.h>
#include <gst/gst.h>
#include <ueye_sim/Control.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const char* const kSensors[] = {"SIM1280-C", "SIM1280-M", "SIM2592-C", "SIM4912-M", "SIM1284-C", "SIM1284-M"};

// A throw-away settings folder with the shipped file, for the module and the element alike.
const std::string& appDir() {
    static const std::string dir = [] {
        const fs::path path = fs::temp_directory_path() / "nimbrel-gst-bench";
        fs::create_directories(path / "res");
        fs::copy_file(fs::path(NIMBREL_SOURCE_DIR) / "res" / "config.xml", path / "res" / "config.xml",
                      fs::copy_options::overwrite_existing);
        Qel::HelperFuncs::setAppDir(path.string() + "/");
        Nimbrel_model::Config::getInstance()->load();
        return path.string();
    }();
    return dir;
}

// The camera's highest rate at its full sensor, asked of the module directly.
double highestRate(const char* sensor) {
    appDir();
    ueye_sim::connectCamera(sensor);
    auto* camera = Nimbrel_model::Camera::getInstance();
    camera->init();
    camera->setFrameRate(1e6);  // the camera clamps it to what it can
    const double rate = camera->getFrameRate();
    delete camera;
    return rate;
}

std::string fraction(double rate) {
    gint n = 0, d = 1;
    gst_util_double_to_fraction(rate, &n, &d);
    return std::to_string(n) + "/" + std::to_string(d);
}

// A pipeline from gst-launch syntax, brought to NULL and released on leaving.
class Pipeline {
public:
    explicit Pipeline(const std::string& description) {
        GError* error = nullptr;
        element_ = gst_parse_launch(description.c_str(), &error);
        if (error) {
            // A partial pipeline would only measure its own failures.
            std::fprintf(stderr, "bench_gst: %s: %s\n", description.c_str(), error->message);
            std::exit(1);
        }
    }
    ~Pipeline() {
        gst_element_set_state(element_, GST_STATE_NULL);
        gst_object_unref(element_);
    }
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;
    GstElement* get() const { return element_; }
    GstElement* byName(const char* name) const { return gst_bin_get_by_name(GST_BIN(element_), name); }
    guint64 counter(const char* property) const {
        guint64 value = 0;
        GstElement* src = byName("bench");
        g_object_get(src, property, &value, nullptr);
        gst_object_unref(src);
        return value;
    }
    // Fails the benchmark on the first error the pipeline posted.
    bool failed(benchmark::State& state) const {
        GstBus* bus = gst_element_get_bus(element_);
        GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
        gst_object_unref(bus);
        if (!message) return false;
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        state.SkipWithError(error->message);
        g_error_free(error);
        gst_message_unref(message);
        return true;
    }

private:
    GstElement* element_;
};

std::string source(const char* sensor) {
    return std::string("nimbrelsrc name=bench camera=") + sensor + " app-dir=" + appDir();
}

// At the highest rate for NIMBREL_GST_SECONDS (default 60): frames delivered
// and dropped, and the streaming thread's processor time per frame (create,
// wrapping, fakesink) beside a warm memcpy of the frame's bytes.
void BM_HighestRate(benchmark::State& state) {
    const char* sensor = kSensors[state.range(0)];
    const char* wanted = std::getenv("NIMBREL_GST_SECONDS");
    const auto length = std::chrono::duration<double>(wanted ? std::atof(wanted) : 60.0);
    const double rate = highestRate(sensor);
    for (auto _ : state) {
        Pipeline pipeline(source(sensor) + " ! video/x-raw,framerate=" + fraction(rate) + " ! fakesink sync=false");
        gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
        host::EventPump pump;
        pump.runUntil([&] { return pipeline.counter("frames-delivered") > 0; }, 10s);
        const double cpuBefore = bench::threadNanoseconds("bench:src");
        const guint64 deliveredBefore = pipeline.counter("frames-delivered");
        pump.runFor(std::chrono::duration_cast<std::chrono::milliseconds>(length));
        const double cpu = bench::threadNanoseconds("bench:src") - cpuBefore;
        const guint64 delivered = pipeline.counter("frames-delivered") - deliveredBefore;
        if (pipeline.failed(state)) return;
        state.counters["fps"] = rate;
        state.counters["delivered"] = static_cast<double>(pipeline.counter("frames-delivered"));
        state.counters["dropped"] = static_cast<double>(pipeline.counter("frames-dropped"));
        const double perFrame = delivered ? cpu / static_cast<double>(delivered) : 0;
        state.counters["element_us_per_frame"] = perFrame / 1e3;
        auto* camera = Nimbrel_model::Camera::getInstance();
        const std::size_t bytes =
            static_cast<std::size_t>(camera->getMaxWidth()) * camera->getMaxHeight() * (camera->isColor() ? 3 : 1);
        const double copy = bench::warmMemcpyNanoseconds(bytes);
        state.counters["memcpy_us"] = copy / 1e3;
        state.counters["element_per_memcpy"] = perFrame / copy;
    }
    state.SetLabel(sensor);
}

// GStreamer's own floor for the same frames at the same rate: an appsrc fed
// by this thread, each frame wrapped without a copy, and the processor time
// of its streaming thread per buffer (a wake-up and a push to fakesink), so
// the element's figure can be read against what any live source pays here.
void BM_LiveSourceFloor(benchmark::State& state) {
    const char* sensor = kSensors[state.range(0)];
    const double rate = highestRate(sensor);
    const ueye_sim::CameraModel& model = *ueye_sim::findModel(sensor);
    const std::size_t bytes = static_cast<std::size_t>(model.maxWidth) * model.maxHeight * (model.color ? 3 : 1);
    std::vector<unsigned char> frame(bytes, 7);
    const auto period =
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(1.0 / rate));
    for (auto _ : state) {
        Pipeline pipeline("appsrc name=floor is-live=true format=time caps=video/x-raw,format=" +
                          std::string(model.color ? "RGB" : "GRAY8") + ",width=" + std::to_string(model.maxWidth) +
                          ",height=" + std::to_string(model.maxHeight) + ",framerate=" + fraction(rate) +
                          " ! fakesink sync=false");
        GstElement* appsrc = pipeline.byName("floor");
        gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
        const auto push = [&](int index) {
            GstBuffer* buffer =
                gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_READONLY, frame.data(), bytes, 0, bytes, nullptr, nullptr);
            GST_BUFFER_PTS(buffer) = static_cast<GstClockTime>(index) * GST_SECOND / static_cast<GstClockTime>(rate);
            GstFlowReturn flow = GST_FLOW_OK;
            g_signal_emit_by_name(appsrc, "push-buffer", buffer, &flow);
            gst_buffer_unref(buffer);
        };
        int pushed = 0;
        auto next = std::chrono::steady_clock::now();
        for (; pushed < 30; ++pushed, next += period) {  // the streaming thread starts and settles
            std::this_thread::sleep_until(next);
            push(pushed);
        }
        std::this_thread::sleep_for(period);
        const double cpuBefore = bench::threadNanoseconds("floor:src");
        const int first = pushed;
        for (; pushed < first + 300; ++pushed, next += period) {
            std::this_thread::sleep_until(next);
            push(pushed);
        }
        std::this_thread::sleep_for(period);
        const double perBuffer = (bench::threadNanoseconds("floor:src") - cpuBefore) / 300.0;
        gst_object_unref(appsrc);
        if (pipeline.failed(state)) return;
        const double copy = bench::warmMemcpyNanoseconds(bytes);
        state.counters["fps"] = rate;
        state.counters["floor_us_per_frame"] = perBuffer / 1e3;
        state.counters["memcpy_us"] = copy / 1e3;
        state.counters["floor_per_memcpy"] = perBuffer / copy;
    }
    state.SetLabel(sensor);
}

// Device timestamp (the steady clock in the simulator) to the sink, at
// SIM1280-C's highest rate (1.3 MP), beside one frame period + 1 ms.
void BM_LatencyToSink(benchmark::State& state) {
    const double rate = highestRate("SIM1280-C");
    std::vector<double> latencies;
    std::mutex lock;
    GstCaps* deviceClock = gst_caps_new_empty_simple("timestamp/x-nimbrel-device");
    for (auto _ : state) {
        Pipeline pipeline(source("SIM1280-C") + " ! video/x-raw,framerate=" + fraction(rate) +
                          " ! fakesink name=sink sync=false");
        GstElement* sink = pipeline.byName("sink");
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        struct Probe {
            std::vector<double>* latencies;
            std::mutex* lock;
            GstCaps* clock;
        } probe{&latencies, &lock, deviceClock};
        gst_pad_add_probe(
            pad, GST_PAD_PROBE_TYPE_BUFFER,
            [](GstPad*, GstPadProbeInfo* info, gpointer data) {
                const auto* p = static_cast<Probe*>(data);
                const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
                if (auto* meta = gst_buffer_get_reference_timestamp_meta(GST_PAD_PROBE_INFO_BUFFER(info), p->clock)) {
                    std::lock_guard guard(*p->lock);
                    p->latencies->push_back(static_cast<double>(now) - static_cast<double>(meta->timestamp));
                }
                return GST_PAD_PROBE_OK;
            },
            &probe, nullptr);
        gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
        host::EventPump pump;
        pump.runUntil(
            [&] {
                std::lock_guard guard(lock);
                return latencies.size() >= 300;
            },
            30s);
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        gst_object_unref(pad);
        gst_object_unref(sink);
        if (pipeline.failed(state)) return;
    }
    gst_caps_unref(deviceClock);
    state.counters["median_ms"] = bench::medianOf(latencies) / 1e6;
    state.counters["period_plus_1ms"] = 1000.0 / rate + 1.0;
    state.counters["worst_ms"] = latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end()) / 1e6;
}

// PLAYING -> NULL while the element waits for a 1 fps camera's next frame.
void BM_StopAtOneFps(benchmark::State& state) {
    std::vector<double> stops;
    for (auto _ : state) {
        Pipeline pipeline(source("SIM1284-C") + " ! video/x-raw,framerate=1/1 ! fakesink sync=false");
        gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
        host::EventPump pump;
        pump.runUntil([&] { return pipeline.counter("frames-delivered") > 0; }, 10s);
        pump.runFor(300ms);  // inside the wait for the next frame
        const auto start = std::chrono::steady_clock::now();
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        stops.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (pipeline.failed(state)) return;
    }
    state.counters["median_ms"] = bench::medianOf(stops);
    state.counters["worst_ms"] = *std::max_element(stops.begin(), stops.end());
}

}  // namespace

BENCHMARK(BM_HighestRate)->DenseRange(0, 5)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LiveSourceFloor)->DenseRange(0, 5)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_LatencyToSink)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_StopAtOneFps)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    // The plugin of this build unless the caller names another.
    setenv("GST_PLUGIN_PATH", NIMBREL_BINARY_DIR "/gst", 0);
    gst_init(&argc, &argv);
    host::ApplicationScope wx(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
