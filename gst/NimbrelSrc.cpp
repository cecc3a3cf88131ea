// nimbrelsrc: the camera as a live GStreamer source. Buffers wrap the frame
// stream's frames without copying them; the camera itself is driven on the
// camera's thread (CameraThread.h), the frames are waited for on the
// streaming thread.
#include "CameraSession.h"
#include "CameraThread.h"

#include <Nimbrel_model/FrameStream.h>

#include <gst/base/gstpushsrc.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace {

using namespace nimbrel_gst;
using Nimbrel_model::Frame;
using Nimbrel_model::FrameStream;

GST_DEBUG_CATEGORY_STATIC(nimbrelsrc_debug);
#define GST_CAT_DEFAULT nimbrelsrc_debug

// How long a waiting create() waits for a frame before it looks whether it
// was unlocked: a little over a frame period, so that a frame costs one
// wake-up, never more than a fifth of a second, well inside the half second
// a pipeline may take to stop.
constexpr std::chrono::milliseconds kShortestWait(40);
constexpr std::chrono::milliseconds kLongestWait(200);

std::chrono::milliseconds waitSlice(double rate) {
    if (rate <= 0) return kShortestWait;
    const auto periods = std::chrono::milliseconds(static_cast<long long>(1500.0 / rate));
    return std::clamp(periods, kShortestWait, kLongestWait);
}

enum Property : guint {
    PROP_0,
    PROP_CAMERA,
    PROP_APP_DIR,
    PROP_EXPOSURE,
    PROP_GAIN,
    PROP_AUTO_GAIN,
    PROP_BRIGHTNESS,
    PROP_AUTO_WHITE_BALANCE,
    PROP_OPTIMIZE_CLOCK,
    PROP_QUEUE_DEPTH,
    PROP_TIMEOUT,
    PROP_SENSOR_NAME,
    PROP_FRAMES_DELIVERED,
    PROP_FRAMES_DROPPED,
    PROP_LAST
};
GParamSpec* properties[PROP_LAST] = {};

constexpr int kDefaultQueueDepth = 3;
// Wrapped frames downstream may hold before the element copies instead: a
// sink's last sample and the buffer on its way. The frame stream lends the
// camera three buffers beyond its queue: the one being written and two its
// consumer may hold; each one more held downstream makes it allocate another.
constexpr int kWrappedFrames = 2;
constexpr guint kDefaultTimeoutMs = 5000;

struct State {
    std::mutex lock;  // the fields up to `open`, between property calls and the element's threads
    std::string camera;
    std::string appDir;
    Controls wanted;  // what the user set; applied at start and while playing
    Readings applied;
    bool optimizeClock = false;
    int queueDepth = kDefaultQueueDepth;
    guint timeoutMs = kDefaultTimeoutMs;
    bool open = false;       // the camera
    bool streaming = false;  // the frame stream, between set_caps and stop
    Geometry geometry;
    double rate = 0;  // negotiated

    // Streaming thread only.
    GstVideoInfo info{};
    bool expandGray = false;
    bool useMeta = true;
    // Wrapped frames downstream still holds; shared with the buffers, which
    // may outlive the element.
    std::shared_ptr<std::atomic<int>> wrapped = std::make_shared<std::atomic<int>>(0);
    bool firstFrame = true;
    std::uint64_t firstSequence = 0, lastSequence = 0, firstDevice = 0;
    std::uint64_t offsetBase = 0, nextOffset = 0;
    GstClockTime firstRunning = 0;
    bool failurePosted = false;

    std::atomic<bool> flushing{false};
    std::atomic<unsigned> unlocks{0};
    // Counts of frame-stream runs that ended (a size change restarts it).
    std::atomic<std::uint64_t> deliveredBefore{0}, droppedBefore{0};
};

// The camera's own timestamp rides on each buffer as a reference timestamp
// of this clock, in nanoseconds.
GstCaps* deviceClock = nullptr;

// The module drives one camera per process.
std::atomic<void*> owner{nullptr};

}  // namespace

G_BEGIN_DECLS
#define GST_TYPE_NIMBREL_SRC (gst_nimbrel_src_get_type())
G_DECLARE_FINAL_TYPE(GstNimbrelSrc, gst_nimbrel_src, GST, NIMBREL_SRC, GstPushSrc)
G_END_DECLS

struct _GstNimbrelSrc {
    GstPushSrc parent;
    State* state;
};

G_DEFINE_TYPE(GstNimbrelSrc, gst_nimbrel_src, GST_TYPE_PUSH_SRC)

namespace {

State& stateOf(gpointer object) { return *GST_NIMBREL_SRC(object)->state; }

void postFailure(GstNimbrelSrc* src, const Failure& failure) {
    const char* text = failure.what();
    switch (failure.kind()) {
        case Failure::Kind::NotFound: GST_ELEMENT_ERROR(src, RESOURCE, NOT_FOUND, ("%s", text), (nullptr)); break;
        case Failure::Kind::Settings: GST_ELEMENT_ERROR(src, RESOURCE, SETTINGS, ("%s", text), (nullptr)); break;
        case Failure::Kind::Read: GST_ELEMENT_ERROR(src, RESOURCE, READ, ("%s", text), (nullptr)); break;
        case Failure::Kind::Busy: GST_ELEMENT_ERROR(src, RESOURCE, BUSY, ("%s", text), (nullptr)); break;
        case Failure::Kind::Format: GST_ELEMENT_ERROR(src, STREAM, FORMAT, ("%s", text), (nullptr)); break;
    }
}

std::string pluginFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&pluginFolder), &info) == 0 || !info.dli_fname) return "";
    return std::filesystem::path(info.dli_fname).parent_path().string() + "/";
}

std::string rateText(double rate) {
    gchar* text = g_strdup_printf("%.4g", rate);
    std::string result = text;
    g_free(text);
    return result;
}

GstClockTime framePeriod(double rate) {
    return rate > 0 ? static_cast<GstClockTime>(GST_SECOND / rate) : GST_CLOCK_TIME_NONE;
}

void setFraction(GValue* value, double rate) {
    gint n = 0, d = 1;
    gst_util_double_to_fraction(rate, &n, &d);
    gst_value_set_fraction(value, n, d);
}

GstCaps* cameraCaps(const Geometry& g) {
    GstCaps* caps = gst_caps_new_empty();
    // A monochrome sensor's frames are grey; RGB costs a copy, so it comes second.
    const std::vector<const char*> formats =
        g.color ? std::vector<const char*>{"RGB"} : std::vector<const char*>{"GRAY8", "RGB"};
    for (const char* format : formats) {
        GstStructure* s = gst_structure_new("video/x-raw", "format", G_TYPE_STRING, format, "pixel-aspect-ratio",
                                            GST_TYPE_FRACTION, 1, 1, nullptr);
        auto sideRange = [&](const char* field, int low, int high, int step) {
            GValue v = G_VALUE_INIT;
            if (low >= high) {
                g_value_init(&v, G_TYPE_INT);
                g_value_set_int(&v, high);
            } else {
                g_value_init(&v, GST_TYPE_INT_RANGE);
                gst_value_set_int_range_step(&v, low, high, step);
            }
            gst_structure_take_value(s, field, &v);
        };
        sideRange("width", g.minWidth, g.maxWidth, g.stepX);
        sideRange("height", g.minHeight, g.maxHeight, g.stepY);
        GValue rates = G_VALUE_INIT, low = G_VALUE_INIT, high = G_VALUE_INIT;
        g_value_init(&rates, GST_TYPE_FRACTION_RANGE);
        g_value_init(&low, GST_TYPE_FRACTION);
        g_value_init(&high, GST_TYPE_FRACTION);
        setFraction(&low, g.lowestRate);
        setFraction(&high, g.highestRate);
        gst_value_set_fraction_range(&rates, &low, &high);
        gst_structure_take_value(s, "framerate", &rates);
        g_value_unset(&low);
        g_value_unset(&high);
        gst_caps_append_structure(caps, s);
    }
    return caps;
}

// ---- properties -------------------------------------------------------------

// Applies one control on the camera's thread while it is open, and takes in
// what the camera applied. A refusal is a warning: the stream goes on.
void applyWhileOpen(GstNimbrelSrc* src, const Controls& change) {
    State& state = *src->state;
    {
        std::lock_guard lock(state.lock);
        if (!state.open) return;
    }
    try {
        Readings readings;
        bool applied = false;
        runOnCameraThread([&] {
            // Closing runs on this thread too: asked again here, the answer holds.
            {
                std::lock_guard lock(state.lock);
                if (!state.open) return;
            }
            readings = applyControls(change);
            applied = true;
        });
        std::lock_guard lock(state.lock);
        if (!applied) return;
        const bool balance = state.applied.autoWhiteBalance;
        state.applied = readings;
        state.applied.autoWhiteBalance = change.autoWhiteBalance.value_or(balance);
    } catch (const std::exception& error) {
        GST_ELEMENT_WARNING(src, RESOURCE, SETTINGS, ("%s", error.what()), (nullptr));
    }
}

void setProperty(GObject* object, guint id, const GValue* value, GParamSpec* param) {
    auto* src = GST_NIMBREL_SRC(object);
    State& state = *src->state;
    Controls change;
    // What the user set: applied now and at every start, and shown until the camera's reading is in.
    const auto want = [&](auto value, auto Controls::*control, auto Readings::*reading) {
        change.*control = state.wanted.*control = value;
        state.applied.*reading = value;
    };
    {
        std::lock_guard lock(state.lock);
        switch (id) {
            case PROP_CAMERA: state.camera = g_value_get_string(value) ? g_value_get_string(value) : ""; return;
            case PROP_APP_DIR: state.appDir = g_value_get_string(value) ? g_value_get_string(value) : ""; return;
            case PROP_OPTIMIZE_CLOCK: state.optimizeClock = g_value_get_boolean(value); return;
            case PROP_QUEUE_DEPTH: state.queueDepth = g_value_get_int(value); return;
            case PROP_TIMEOUT: state.timeoutMs = g_value_get_uint(value); return;
            case PROP_EXPOSURE: want(g_value_get_double(value), &Controls::exposure, &Readings::exposure); break;
            case PROP_GAIN: want(g_value_get_int(value), &Controls::gain, &Readings::gain); break;
            case PROP_AUTO_GAIN:
                want(g_value_get_boolean(value) != FALSE, &Controls::autoGain, &Readings::autoGain);
                break;
            case PROP_BRIGHTNESS: want(g_value_get_int(value), &Controls::brightness, &Readings::brightness); break;
            case PROP_AUTO_WHITE_BALANCE:
                want(g_value_get_boolean(value) != FALSE, &Controls::autoWhiteBalance, &Readings::autoWhiteBalance);
                break;
            default: G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, param); return;
        }
    }
    // GObject notifies after this returns, when the reading is in.
    applyWhileOpen(src, change);
}

void getProperty(GObject* object, guint id, GValue* value, GParamSpec* param) {
    State& state = stateOf(object);
    std::lock_guard lock(state.lock);
    auto* stream = FrameStream::getInstance();
    switch (id) {
        case PROP_CAMERA: g_value_set_string(value, state.camera.c_str()); break;
        case PROP_APP_DIR: g_value_set_string(value, state.appDir.c_str()); break;
        case PROP_EXPOSURE: g_value_set_double(value, state.applied.exposure); break;
        case PROP_GAIN: g_value_set_int(value, state.applied.gain); break;
        case PROP_AUTO_GAIN: g_value_set_boolean(value, state.applied.autoGain); break;
        case PROP_BRIGHTNESS: g_value_set_int(value, state.applied.brightness); break;
        case PROP_AUTO_WHITE_BALANCE: g_value_set_boolean(value, state.applied.autoWhiteBalance); break;
        case PROP_OPTIMIZE_CLOCK: g_value_set_boolean(value, state.optimizeClock); break;
        case PROP_QUEUE_DEPTH: g_value_set_int(value, state.queueDepth); break;
        case PROP_TIMEOUT: g_value_set_uint(value, state.timeoutMs); break;
        case PROP_SENSOR_NAME: g_value_set_string(value, state.geometry.sensor.c_str()); break;
        case PROP_FRAMES_DELIVERED:
            g_value_set_uint64(value, state.deliveredBefore + (state.streaming ? stream->delivered() : 0));
            break;
        case PROP_FRAMES_DROPPED:
            g_value_set_uint64(value, state.droppedBefore + (state.streaming ? stream->dropped() : 0));
            break;
        default: G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, param); break;
    }
}

// ---- start, stop, unlock ----------------------------------------------------

// The camera opens in NULL -> READY, so that caps queries in READY see what
// it can deliver and a failure is posted once, in the camera's words.
bool openCamera(GstNimbrelSrc* src) {
    State& state = *src->state;
    void* none = nullptr;
    if (!owner.compare_exchange_strong(none, src)) {
        postFailure(src, Failure(Failure::Kind::Busy,
                                 "another nimbrelsrc of this process drives the camera (the "
                                 "module drives one camera per process)"));
        return false;
    }
    OpenRequest request;
    {
        std::lock_guard lock(state.lock);
        request.camera = state.camera;
        request.appDir = state.appDir;
        request.pluginDir = pluginFolder();
        request.optimizeClock = state.optimizeClock;
        request.controls = state.wanted;
    }
    try {
        Geometry geometry;
        Readings readings;
        runOnCameraThread([&] {
            geometry = nimbrel_gst::openCamera(request);
            readings = readControls();
        });
        std::lock_guard lock(state.lock);
        readings.autoWhiteBalance = request.controls.autoWhiteBalance.value_or(false);
        state.applied = readings;
        state.geometry = geometry;
        state.open = true;
    } catch (const std::exception& error) {
        owner.store(nullptr);
        postFailure(src, classify(error, Failure::Kind::Read));
        return false;
    }
    GST_INFO_OBJECT(src, "opened %s", state.geometry.sensor.c_str());
    for (guint id : {PROP_SENSOR_NAME, PROP_EXPOSURE, PROP_GAIN, PROP_AUTO_GAIN, PROP_BRIGHTNESS})
        g_object_notify_by_pspec(G_OBJECT(src), properties[id]);
    return true;
}

void closeCamera(GstNimbrelSrc* src) {
    State& state = *src->state;
    {
        std::lock_guard lock(state.lock);
        if (!state.open) return;
        state.open = false;
    }
    try {
        runOnCameraThread([] { nimbrel_gst::closeCamera(); });
    } catch (const std::exception& error) {
        GST_WARNING_OBJECT(src, "closing the camera: %s", error.what());
    }
    owner.store(nullptr);
}

GstStateChangeReturn changeState(GstElement* element, GstStateChange transition) {
    auto* src = GST_NIMBREL_SRC(element);
    if (transition == GST_STATE_CHANGE_NULL_TO_READY && !openCamera(src)) return GST_STATE_CHANGE_FAILURE;
    const GstStateChangeReturn result =
        GST_ELEMENT_CLASS(gst_nimbrel_src_parent_class)->change_state(element, transition);
    if (transition == GST_STATE_CHANGE_READY_TO_NULL ||
        (transition == GST_STATE_CHANGE_NULL_TO_READY && result == GST_STATE_CHANGE_FAILURE))
        closeCamera(src);
    return result;
}

gboolean start(GstBaseSrc* base) {
    State& state = stateOf(base);
    state.firstFrame = true;
    state.offsetBase = state.nextOffset = 0;
    state.firstRunning = 0;
    state.failurePosted = false;
    state.deliveredBefore = 0;
    state.droppedBefore = 0;
    std::lock_guard lock(state.lock);
    state.rate = 0;
    return state.open;
}

// The frame stream stops with the stream; the camera stays open until NULL.
gboolean stop(GstBaseSrc* base) {
    auto* src = GST_NIMBREL_SRC(base);
    State& state = *src->state;
    {
        std::lock_guard lock(state.lock);
        if (!state.streaming) return TRUE;
    }
    try {
        runOnCameraThread([] { stopStream(); });
    } catch (const std::exception& error) {
        GST_WARNING_OBJECT(src, "stopping the stream: %s", error.what());
    }
    // A stopped stream keeps its counts.
    std::lock_guard lock(state.lock);
    auto* stream = FrameStream::getInstance();
    state.deliveredBefore += stream->delivered();
    state.droppedBefore += stream->dropped();
    state.streaming = false;
    return TRUE;
}

gboolean unlock(GstBaseSrc* base) {
    State& state = stateOf(base);
    state.flushing = true;
    ++state.unlocks;
    return TRUE;
}

gboolean unlockStop(GstBaseSrc* base) {
    stateOf(base).flushing = false;
    return TRUE;
}

// ---- caps -------------------------------------------------------------------

GstCaps* getCaps(GstBaseSrc* base, GstCaps* filter) {
    State& state = stateOf(base);
    GstCaps* caps = nullptr;
    {
        std::lock_guard lock(state.lock);
        if (state.open) caps = cameraCaps(state.geometry);
    }
    if (!caps) caps = gst_pad_get_pad_template_caps(GST_BASE_SRC_PAD(base));
    if (filter) {
        GstCaps* both = gst_caps_intersect_full(filter, caps, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(caps);
        caps = both;
    }
    return caps;
}

GstCaps* fixate(GstBaseSrc* base, GstCaps* caps) {
    State& state = stateOf(base);
    Geometry today;
    {
        std::lock_guard lock(state.lock);
        today = state.geometry;
    }
    caps = gst_caps_truncate(gst_caps_make_writable(caps));
    GstStructure* s = gst_caps_get_structure(caps, 0);
    // Today's area and rate, as far as downstream allows.
    gst_structure_fixate_field_nearest_int(s, "width", today.width);
    gst_structure_fixate_field_nearest_int(s, "height", today.height);
    gint n = 0, d = 1;
    gst_util_double_to_fraction(today.rate, &n, &d);
    gst_structure_fixate_field_nearest_fraction(s, "framerate", n, d);
    return GST_BASE_SRC_CLASS(gst_nimbrel_src_parent_class)->fixate(base, caps);
}

gboolean setCaps(GstBaseSrc* base, GstCaps* caps) {
    auto* src = GST_NIMBREL_SRC(base);
    State& state = *src->state;
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, caps) || GST_VIDEO_INFO_FPS_N(&info) <= 0) {
        state.failurePosted = true;
        postFailure(src, Failure(Failure::Kind::Format, "caps without a size and a frame rate"));
        return FALSE;
    }
    const double rate = static_cast<double>(GST_VIDEO_INFO_FPS_N(&info)) / GST_VIDEO_INFO_FPS_D(&info);
    Geometry known;
    int depth = kDefaultQueueDepth;
    {
        std::lock_guard lock(state.lock);
        known = state.geometry;
        depth = state.queueDepth;
    }
    auto* stream = FrameStream::getInstance();
    // A stopped stream keeps its last run's counts: they were taken in stop().
    const bool wasRunning = stream->isRunning();
    const std::uint64_t delivered = wasRunning ? stream->delivered() : 0;
    const std::uint64_t dropped = wasRunning ? stream->dropped() : 0;
    bool started = false;
    try {
        Geometry applied;
        const bool ran = runOnCameraThread(
            [&] {
                applied =
                    configure(known, GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info), rate, depth, started);
            },
            [&] { return state.flushing.load(); });
        if (!ran) return FALSE;
        std::lock_guard lock(state.lock);
        state.geometry = applied;
        state.rate = applied.rate;
        state.streaming = true;
    } catch (const std::exception& error) {
        state.failurePosted = true;
        postFailure(src, classify(error, Failure::Kind::Read));
        return FALSE;
    }
    if (started) {
        // The stream's counts and frame numbers begin anew; the element's go on.
        state.deliveredBefore += delivered;
        state.droppedBefore += dropped;
        state.firstFrame = true;
        state.offsetBase = state.nextOffset;
    }
    state.info = info;
    state.expandGray = !known.color && GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_RGB;
    GST_INFO_OBJECT(src, "%dx%d at %g fps", GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info), rate);
    gst_element_post_message(GST_ELEMENT(src), gst_message_new_latency(GST_OBJECT(src)));
    return TRUE;
}

// A refusal says why, in the camera's terms, not only "not-negotiated".
gboolean negotiate(GstBaseSrc* base) {
    auto* src = GST_NIMBREL_SRC(base);
    State& state = *src->state;
    state.failurePosted = false;
    if (GST_BASE_SRC_CLASS(gst_nimbrel_src_parent_class)->negotiate(base)) return TRUE;
    if (state.failurePosted || state.flushing) return FALSE;
    Geometry known;
    {
        std::lock_guard lock(state.lock);
        known = state.geometry;
    }
    GstCaps* peer = gst_pad_peer_query_caps(GST_BASE_SRC_PAD(base), nullptr);
    GstCaps* ours = cameraCaps(known);
    std::string text;
    if (peer && !gst_caps_is_empty(peer) && !gst_caps_is_any(peer)) {
        const GstStructure* wanted = gst_caps_get_structure(peer, 0);
        // A side downstream leaves open stays as it is now.
        gint width = known.width, height = known.height;
        const bool sized =
            gst_structure_get_int(wanted, "width", &width) | gst_structure_get_int(wanted, "height", &height);
        if (sized && (width % known.stepX || height % known.stepY || width < known.minWidth || width > known.maxWidth ||
                      height < known.minHeight || height > known.maxHeight)) {
            text = known.sensor + " cannot take " + std::to_string(width) + " x " + std::to_string(height) + ": " +
                   nearestSizes(known, width, height);
        }
    }
    if (text.empty()) {
        gchar* peerText = peer ? gst_caps_to_string(peer) : g_strdup("nothing");
        gchar* ourText = gst_caps_to_string(ours);
        text = "downstream wants " + std::string(peerText) + "; " + known.sensor + " gives " + ourText;
        g_free(peerText);
        g_free(ourText);
    }
    if (peer) gst_caps_unref(peer);
    gst_caps_unref(ours);
    state.failurePosted = true;
    postFailure(src, Failure(Failure::Kind::Format, text));
    return FALSE;
}

gboolean decideAllocation(GstBaseSrc* base, GstQuery* query) {
    stateOf(base).useMeta = gst_query_find_allocation_meta(query, GST_VIDEO_META_API_TYPE, nullptr);
    return GST_BASE_SRC_CLASS(gst_nimbrel_src_parent_class)->decide_allocation(base, query);
}

gboolean query(GstBaseSrc* base, GstQuery* query) {
    State& state = stateOf(base);
    if (GST_QUERY_TYPE(query) == GST_QUERY_LATENCY) {
        std::lock_guard lock(state.lock);
        if (!state.open || state.rate <= 0) return FALSE;
        // A frame is handed on within one period of its start; the queue
        // may hold it back for queue-depth periods.
        const GstClockTime period = framePeriod(state.rate);
        gst_query_set_latency(query, TRUE, period, period * static_cast<GstClockTime>(state.queueDepth));
        return TRUE;
    }
    return GST_BASE_SRC_CLASS(gst_nimbrel_src_parent_class)->query(base, query);
}

// ---- frames -----------------------------------------------------------------

// A wrapped frame, counted while downstream holds it.
struct HeldFrame {
    HeldFrame(Frame&& held, std::shared_ptr<std::atomic<int>> counter)
        : frame(std::move(held)), count(std::move(counter)) {
        ++*count;
    }
    ~HeldFrame() { --*count; }
    HeldFrame(const HeldFrame&) = delete;
    HeldFrame& operator=(const HeldFrame&) = delete;
    Frame frame;
    std::shared_ptr<std::atomic<int>> count;
};

void releaseFrame(gpointer held) { delete static_cast<HeldFrame*>(held); }

// The frame's own memory where that costs the camera nothing, or a copy:
// grey frames asked for as RGB; rows with padding for a consumer that reads
// no video meta; and frames beyond the few the stream keeps spare for its
// consumer, which downstream would otherwise take from the camera (an
// appsink's queue, a queue element) and turn into drops.
GstBuffer* wrap(GstBaseSrc* base, State& state, Frame&& frame) {
    const GstVideoInfo& info = state.info;
    const int width = frame.width(), height = frame.height();
    const auto stride = static_cast<gint>(frame.stride());
    if (!state.expandGray && (state.useMeta || stride == GST_VIDEO_INFO_PLANE_STRIDE(&info, 0)) &&
        state.wrapped->load() < kWrappedFrames) {
        auto* held = new HeldFrame(std::move(frame), state.wrapped);
        const Frame& own = held->frame;
        GstBuffer* buffer = gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_READONLY, const_cast<std::uint8_t*>(own.data()),
                                                        own.size(), 0, own.size(), held, releaseFrame);
        gsize offsets[GST_VIDEO_MAX_PLANES] = {0};
        gint strides[GST_VIDEO_MAX_PLANES] = {stride};
        gst_buffer_add_video_meta_full(buffer, GST_VIDEO_FRAME_FLAG_NONE, GST_VIDEO_INFO_FORMAT(&info),
                                       static_cast<guint>(width), static_cast<guint>(height), 1, offsets, strides);
        return buffer;
    }
    // The negotiated pool's buffers come back used: a fresh allocation of a
    // large frame costs more in page faults than the copy.
    GstBuffer* buffer = nullptr;
    if (GstBufferPool* pool = gst_base_src_get_buffer_pool(base)) {
        GstBufferPoolAcquireParams params{};
        params.flags = GST_BUFFER_POOL_ACQUIRE_FLAG_DONTWAIT;  // a pool downstream emptied is no reason to wait
        if (gst_buffer_pool_acquire_buffer(pool, &buffer, &params) != GST_FLOW_OK) buffer = nullptr;
        gst_object_unref(pool);
    }
    if (!buffer || gst_buffer_get_size(buffer) < GST_VIDEO_INFO_SIZE(&info)) {
        if (buffer) gst_buffer_unref(buffer);
        buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
    }
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    const gint outStride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = frame.data() + static_cast<std::size_t>(y) * frame.stride();
        std::uint8_t* out = map.data + static_cast<std::size_t>(y) * static_cast<std::size_t>(outStride);
        if (state.expandGray) {
            for (int x = 0; x < width; ++x) out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
        } else {
            std::memcpy(out, in, static_cast<std::size_t>(GST_VIDEO_INFO_COMP_PSTRIDE(&info, 0) * width));
        }
    }
    gst_buffer_unmap(buffer, &map);
    return buffer;
}

// The device's clock, started at the running time the first frame reached
// the module, so buffers keep the camera's own spacing.
GstClockTime timestamp(GstNimbrelSrc* src, State& state, const Frame& frame) {
    if (state.firstFrame) {
        GstClockTime running = 0;
        if (GstClock* clock = gst_element_get_clock(GST_ELEMENT(src))) {
            const GstClockTime now = gst_clock_get_time(clock);
            const GstClockTime base = gst_element_get_base_time(GST_ELEMENT(src));
            const auto age = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() -
                                                                                  frame.hostTime())
                                 .count();
            const GstClockTime sinceBase = now > base ? now - base : 0;
            running = sinceBase > static_cast<GstClockTime>(age) ? sinceBase - static_cast<GstClockTime>(age) : 0;
            gst_object_unref(clock);
        }
        // After a restart the new stream continues where the old one ended.
        state.firstRunning = std::max(running, state.firstRunning);
        state.firstDevice = frame.deviceTime();
    }
    const std::uint64_t device = frame.deviceTime();
    return state.firstRunning + (device > state.firstDevice ? device - state.firstDevice : 0);
}

// Ends the stream on a failure posted in the camera's words: downstream gets
// EOS, and the stream pauses as flushing, for which the base class posts no
// second, wordless error of its own.
GstFlowReturn fail(GstNimbrelSrc* src, const Failure& failure) {
    postFailure(src, failure);
    gst_pad_push_event(GST_BASE_SRC_PAD(src), gst_event_new_eos());
    return GST_FLOW_FLUSHING;
}

GstFlowReturn create(GstPushSrc* push, GstBuffer** out) {
    auto* src = GST_NIMBREL_SRC(push);
    State& state = *src->state;
    const unsigned unlocks = state.unlocks.load();
    auto* stream = FrameStream::getInstance();
    guint timeoutMs = kDefaultTimeoutMs;
    double rate = 0;
    {
        std::lock_guard lock(state.lock);
        timeoutMs = state.timeoutMs;
        rate = state.rate;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const auto slice = std::min(waitSlice(rate), std::chrono::milliseconds(timeoutMs));
    std::optional<Frame> frame;
    while (!frame) {
        if (state.flushing || state.unlocks.load() != unlocks) return GST_FLOW_FLUSHING;
        try {
            frame = stream->next(slice);
        } catch (const std::exception& error) {
            return fail(src, classify(error, Failure::Kind::Read));
        }
        if (frame && (frame->width() != GST_VIDEO_INFO_WIDTH(&state.info) ||
                      frame->height() != GST_VIDEO_INFO_HEIGHT(&state.info))) {
            frame.reset();  // queued before a size change
            continue;
        }
        if (frame) break;
        if (!stream->isRunning()) std::this_thread::sleep_for(kShortestWait);
        if (std::chrono::steady_clock::now() >= deadline) {
            return fail(src,
                        Failure(Failure::Kind::Read, "no frame from the camera within " + rateText(timeoutMs / 1000.0) +
                                                         " s (it runs at " + rateText(rate) + " fps)"));
        }
    }

    const std::uint64_t sequence = frame->sequence();
    const std::uint64_t device = frame->deviceTime();
    const bool gap = !state.firstFrame && sequence != state.lastSequence + 1;
    const GstClockTime pts = timestamp(src, state, *frame);
    if (state.firstFrame) {
        state.firstSequence = sequence;
        state.firstFrame = false;
    }
    state.lastSequence = sequence;
    const std::uint64_t offset = state.offsetBase + (sequence - state.firstSequence);
    state.nextOffset = offset + 1;

    GstBuffer* buffer = wrap(GST_BASE_SRC(push), state, std::move(*frame));
    GST_BUFFER_PTS(buffer) = pts;
    GST_BUFFER_DTS(buffer) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(buffer) = framePeriod(rate);
    GST_BUFFER_OFFSET(buffer) = offset;
    GST_BUFFER_OFFSET_END(buffer) = offset + 1;
    if (gap) GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
    gst_buffer_add_reference_timestamp_meta(buffer, deviceClock, device, GST_CLOCK_TIME_NONE);
    *out = buffer;
    return GST_FLOW_OK;
}

// ---- type -------------------------------------------------------------------

void finalize(GObject* object) {
    delete GST_NIMBREL_SRC(object)->state;
    G_OBJECT_CLASS(gst_nimbrel_src_parent_class)->finalize(object);
}

}  // namespace

static void gst_nimbrel_src_init(GstNimbrelSrc* src) {
    src->state = new State;
    gst_base_src_set_live(GST_BASE_SRC(src), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(src), GST_FORMAT_TIME);
    gst_base_src_set_do_timestamp(GST_BASE_SRC(src), FALSE);
}

static void gst_nimbrel_src_class_init(GstNimbrelSrcClass* klass) {
    auto* objectClass = G_OBJECT_CLASS(klass);
    auto* elementClass = GST_ELEMENT_CLASS(klass);
    auto* baseClass = GST_BASE_SRC_CLASS(klass);
    auto* pushClass = GST_PUSH_SRC_CLASS(klass);

    objectClass->set_property = setProperty;
    objectClass->get_property = getProperty;
    objectClass->finalize = finalize;
    elementClass->change_state = changeState;

    const auto rw = static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS);
    const auto playing = static_cast<GParamFlags>(rw | GST_PARAM_MUTABLE_PLAYING);
    const auto ro = static_cast<GParamFlags>(G_PARAM_READABLE | G_PARAM_STATIC_STRINGS);
    properties[PROP_CAMERA] = g_param_spec_string(
        "camera", "Camera",
        "Which camera: the SDK's camera id (1, 2, ...), or a simulated camera's name as the tools' --camera; "
        "empty: the first camera the SDK finds",
        "", static_cast<GParamFlags>(rw | GST_PARAM_MUTABLE_READY));
    properties[PROP_APP_DIR] =
        g_param_spec_string("app-dir", "Settings folder",
                            "Folder holding res/config.xml (as the tools' --app-dir); empty: the user's "
                            "settings folder, seeded from the shipped file",
                            "", static_cast<GParamFlags>(rw | GST_PARAM_MUTABLE_READY));
    properties[PROP_EXPOSURE] =
        g_param_spec_double("exposure", "Exposure", "Exposure in milliseconds; reads back what the camera applied", 0.0,
                            10000.0, 0.0, playing);
    properties[PROP_GAIN] = g_param_spec_int("gain", "Gain", "Master gain (the colour gains stay)", 0, 100, 0, playing);
    properties[PROP_AUTO_GAIN] = g_param_spec_boolean("auto-gain", "Auto gain", "Automatic gain", FALSE, playing);
    properties[PROP_BRIGHTNESS] =
        g_param_spec_int("brightness", "Brightness", "Brightness in the SDK's units", 0, 255, 0, playing);
    properties[PROP_AUTO_WHITE_BALANCE] = g_param_spec_boolean("auto-white-balance", "Auto white balance",
                                                               "Run the automatic white balance", FALSE, playing);
    properties[PROP_OPTIMIZE_CLOCK] = g_param_spec_boolean(
        "optimize-clock", "Optimise clock", "Find the best pixel clock and frame rate at start, and wait for it", FALSE,
        static_cast<GParamFlags>(rw | GST_PARAM_MUTABLE_READY));
    properties[PROP_QUEUE_DEPTH] = g_param_spec_int(
        "queue-depth", "Queue depth", "Frames the stream holds for a slow consumer before it drops the oldest", 1, 64,
        kDefaultQueueDepth, static_cast<GParamFlags>(rw | GST_PARAM_MUTABLE_READY));
    properties[PROP_TIMEOUT] =
        g_param_spec_uint("timeout", "Timeout", "Milliseconds without a frame before the stream fails", 1, 3600000,
                          kDefaultTimeoutMs, static_cast<GParamFlags>(rw | GST_PARAM_MUTABLE_PLAYING));
    properties[PROP_SENSOR_NAME] =
        g_param_spec_string("sensor-name", "Sensor name", "The open camera's sensor", "", ro);
    properties[PROP_FRAMES_DELIVERED] = g_param_spec_uint64(
        "frames-delivered", "Frames delivered", "Frames handed downstream since start", 0, G_MAXUINT64, 0, ro);
    properties[PROP_FRAMES_DROPPED] = g_param_spec_uint64(
        "frames-dropped", "Frames dropped", "Frames the camera made that downstream never got", 0, G_MAXUINT64, 0, ro);
    g_object_class_install_properties(objectClass, PROP_LAST, properties);

    gst_element_class_set_static_metadata(elementClass, "Nimbrel camera source", "Source/Video",
                                          "Live frames of a Nimbrel camera, timed by the camera",
                                          "the Nimbrel_model developers");
    GstCaps* templateCaps = gst_caps_from_string(
        "video/x-raw, format=(string){ RGB, GRAY8 }, width=(int)[1, 65535], height=(int)[1, 65535], "
        "framerate=(fraction)[0/1, 10000/1], pixel-aspect-ratio=(fraction)1/1");
    gst_element_class_add_pad_template(elementClass,
                                       gst_pad_template_new("src", GST_PAD_SRC, GST_PAD_ALWAYS, templateCaps));
    gst_caps_unref(templateCaps);

    deviceClock = gst_caps_new_empty_simple("timestamp/x-nimbrel-device");
    GST_MINI_OBJECT_FLAG_SET(deviceClock, GST_MINI_OBJECT_FLAG_MAY_BE_LEAKED);
    baseClass->start = start;
    baseClass->stop = stop;
    baseClass->unlock = unlock;
    baseClass->unlock_stop = unlockStop;
    baseClass->get_caps = getCaps;
    baseClass->fixate = fixate;
    baseClass->set_caps = setCaps;
    baseClass->negotiate = negotiate;
    baseClass->decide_allocation = decideAllocation;
    baseClass->query = query;
    pushClass->create = create;
}

static gboolean pluginInit(GstPlugin* plugin) {
    GST_DEBUG_CATEGORY_INIT(nimbrelsrc_debug, "nimbrelsrc", 0, "Nimbrel camera source");
    return gst_element_register(plugin, "nimbrelsrc", GST_RANK_NONE, GST_TYPE_NIMBREL_SRC);
}

#define PACKAGE "nimbrel-model"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, nimbrel, "Nimbrel cameras as a GStreamer source", pluginInit,
                  NIMBREL_VERSION, "MIT/X11", "Nimbrel_model", "https://example.invalid/nimbrel_model")
