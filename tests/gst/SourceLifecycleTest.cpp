// nimbrelsrc's life in one process, where the sanitizers see it: state
// cycles with a buffer kept past NULL, and an SDK call failing mid-stream.
// The plugin comes from GST_PLUGIN_PATH; the simulator is the one it drives.
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <ueye_sim/Control.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A settings folder with the shipped file.
std::string settingsFolder() {
    const fs::path dir = fs::temp_directory_path() / ("nimbrel-gst-test-" + std::to_string(getpid()));
    fs::create_directories(dir / "res");
    fs::copy_file(fs::path(NIMBREL_SOURCE_DIR) / "res" / "config.xml", dir / "res" / "config.xml",
                  fs::copy_options::overwrite_existing);
    return dir.string();
}

// A pipeline whose sink keeps every buffer that reaches it until taken.
class Pipeline {
public:
    explicit Pipeline(const std::string& source) {
        const std::string description = source + " app-dir=" + settingsFolder() +
                                        " ! video/x-raw,width=256,height=128 ! fakesink name=sink sync=false";
        pipeline_ = gst_parse_launch(description.c_str(), nullptr);
        GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline_), "sink");
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &Pipeline::arrived, this, nullptr);
        gst_object_unref(pad);
        gst_object_unref(sink);
    }
    ~Pipeline() {
        setState(GST_STATE_NULL);
        for (GstBuffer* buffer : buffers_) gst_buffer_unref(buffer);
        gst_object_unref(pipeline_);
    }
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    void setState(GstState state) { gst_element_set_state(pipeline_, state); }

    // The next buffer, owned by the caller; null after 10 s without one.
    GstBuffer* take() {
        std::unique_lock lock(mutex_);
        if (!arrival_.wait_for(lock, 10s, [&] { return !buffers_.empty(); })) return nullptr;
        GstBuffer* buffer = buffers_.front();
        buffers_.erase(buffers_.begin());
        return buffer;
    }
    void dropBuffers() {
        std::lock_guard lock(mutex_);
        for (GstBuffer* buffer : buffers_) gst_buffer_unref(buffer);
        buffers_.clear();
    }

    // The first error on the bus within 10 s: domain, code and message.
    bool error(GQuark& domain, int& code, std::string& text) {
        GstBus* bus = gst_element_get_bus(pipeline_);
        GstMessage* message = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND, GST_MESSAGE_ERROR);
        gst_object_unref(bus);
        if (!message) return false;
        GError* failure = nullptr;
        gst_message_parse_error(message, &failure, nullptr);
        domain = failure->domain;
        code = failure->code;
        text = failure->message;
        g_error_free(failure);
        gst_message_unref(message);
        return true;
    }

private:
    static GstPadProbeReturn arrived(GstPad*, GstPadProbeInfo* info, gpointer self) {
        auto* pipeline = static_cast<Pipeline*>(self);
        std::lock_guard lock(pipeline->mutex_);
        if (pipeline->buffers_.size() < 4)
            pipeline->buffers_.push_back(gst_buffer_ref(GST_PAD_PROBE_INFO_BUFFER(info)));
        pipeline->arrival_.notify_all();
        return GST_PAD_PROBE_OK;
    }

    GstElement* pipeline_ = nullptr;
    std::mutex mutex_;
    std::condition_variable arrival_;
    std::vector<GstBuffer*> buffers_;
};

std::vector<unsigned char> bytesOf(GstBuffer* buffer) {
    GstMapInfo map;
    EXPECT_TRUE(gst_buffer_map(buffer, &map, GST_MAP_READ));
    std::vector<unsigned char> bytes(map.data, map.data + map.size);
    gst_buffer_unmap(buffer, &map);
    return bytes;
}

class SourceLifecycle : public ::testing::Test {
protected:
    void SetUp() override { ueye_sim::reset(); }
    void TearDown() override {
        ueye_sim::reset();
        EXPECT_FALSE(ueye_sim::state().open);
    }
};

TEST_F(SourceLifecycle, FiftyCyclesAndABufferKeptPastNull) {
    Pipeline pipeline("nimbrelsrc camera=SIM1284-C");
    GstBuffer* kept = nullptr;
    std::vector<unsigned char> keptBytes;
    for (int cycle = 0; cycle < 50; ++cycle) {
        pipeline.setState(GST_STATE_PLAYING);
        GstBuffer* buffer = pipeline.take();
        ASSERT_NE(buffer, nullptr) << "cycle " << cycle;
        if (!kept) {
            kept = buffer;
            keptBytes = bytesOf(kept);
        } else {
            gst_buffer_unref(buffer);
        }
        pipeline.setState(GST_STATE_NULL);
        pipeline.dropBuffers();
        EXPECT_FALSE(ueye_sim::state().open) << "cycle " << cycle;
    }
    // Forty-nine openings since, each with frames of its own: the kept one is untouched.
    EXPECT_EQ(bytesOf(kept), keptBytes);
    gst_buffer_unref(kept);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
}

TEST_F(SourceLifecycle, SdkFailureMidStreamIsPostedAndTornDown) {
    ueye_sim::failCall("is_GetImageInfo", -1, 20);
    Pipeline pipeline("nimbrelsrc camera=SIM1284-C");
    pipeline.setState(GST_STATE_PLAYING);
    GQuark domain = 0;
    int code = 0;
    std::string text;
    ASSERT_TRUE(pipeline.error(domain, code, text));
    EXPECT_EQ(domain, GST_RESOURCE_ERROR);
    EXPECT_EQ(code, GST_RESOURCE_ERROR_READ);
    EXPECT_NE(text.find("is_GetImageInfo"), std::string::npos) << text;
    EXPECT_NE(text.find("-1"), std::string::npos) << text;
    pipeline.setState(GST_STATE_NULL);
    EXPECT_FALSE(ueye_sim::state().open);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
}

}  // namespace

// Under ThreadSanitizer: GLib and GStreamer are not instrumented and lock
// with futexes it cannot see, so only this build's code is watched.
extern "C" const char* __tsan_default_options() { return "ignore_noninstrumented_modules=1"; }

int main(int argc, char** argv) {
    // The plugin of this build, in a registry of its own.
    setenv("GST_PLUGIN_PATH", NIMBREL_BINARY_DIR "/gst", 1);
    setenv("GST_REGISTRY", NIMBREL_BINARY_DIR "/gst-registry.bin", 1);
    setenv("GST_REGISTRY_FORK", "no", 1);
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest's discovery, at build time, without the
    // sanitizers' settings) needs no GStreamer: GLib keeps a block from
    // gst_init to the end of the process.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // A registry scan loads every plugin of the machine, and GLib never frees
    // its first table of quarks once they outgrow it: the scan runs in a child
    // that leaves without the leak check, and this process reads what it wrote.
    if (const pid_t scanner = fork(); scanner == 0) {
        gst_init(nullptr, nullptr);
        _exit(0);
    } else if (scanner > 0) {
        waitpid(scanner, nullptr, 0);
    }
    gst_init(&argc, &argv);
    const int result = RUN_ALL_TESTS();
    gst_deinit();
    return result;
}
