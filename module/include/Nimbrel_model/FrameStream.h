/// \file
/// \brief The frame stream: every frame of the open camera whole, numbered and
/// timed, from a queue that any thread can wait on.
#pragma once

#include <Nimbrel_model/Export.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace Nimbrel_model {

namespace detail {
struct FrameSlot;
}

/// \brief One whole frame of the area of interest, as the camera made it.
///
/// A Frame is a handle on memory from the stream's pool: copies share the
/// same pixels, and the memory goes back to the pool when the last copy is
/// gone (even after the stream stopped or the camera closed). A frame kept by
/// the consumer is never written again.
///
/// Colour frames are RGB, 3 bytes a pixel in red-green-blue order; grey
/// frames are 1 byte a pixel. Rows are stride() bytes apart: the width of the
/// whole sensor, as the camera writes an area of interest at the top left of
/// its memory.
class NIMBREL_MODEL_API Frame {
public:
    /// Shares the other's pixels.
    Frame(const Frame& other) noexcept;
    /// Takes the other's pixels; the other is left empty.
    Frame(Frame&& other) noexcept;
    /// Shares the other's pixels, releasing its own.
    Frame& operator=(const Frame& other) noexcept;
    /// Takes the other's pixels, releasing its own.
    Frame& operator=(Frame&& other) noexcept;
    /// Releases the pixels to the pool once no copy holds them.
    ~Frame();

    /// The camera's frame number: rises by one a frame the camera made.
    std::uint64_t sequence() const;
    /// The camera's timestamp of the frame, in nanoseconds.
    std::uint64_t deviceTime() const;
    /// When the module had the frame (steady clock).
    std::chrono::steady_clock::time_point hostTime() const;
    /// Width in pixels.
    int width() const;
    /// Height in pixels.
    int height() const;
    /// Bytes from one row to the next.
    std::size_t stride() const;
    /// RGB (true) or grey (false).
    bool isColor() const;
    /// The first byte of the first row.
    const std::uint8_t* data() const;
    /// stride() × height().
    std::size_t size() const;

private:
    friend class FrameStream;
    explicit Frame(detail::FrameSlot* slot) noexcept;
    detail::FrameSlot* slot_;
};

/// \brief The frames of the open camera, each whole, numbered and timed.
///
/// A process-wide singleton beside Camera. Once started, the camera writes
/// its frames straight into buffers of the stream's pool (its capture
/// sequence while the stream runs), and a thread of the module holds each
/// finished one from the camera and queues it as a Frame; next() hands out
/// the oldest. No frame is copied: a buffer goes back to the camera when the
/// last Frame on it is gone. When the queue is full the oldest queued frame
/// is dropped. A stream that is not started changes nothing the camera does.
/// While it runs, Camera::getActiveImage() gives the last finished frame's
/// buffer.
///
/// start() and stop() belong to the thread that drives the Camera; next(),
/// delivered(), dropped() and isRunning() may be called from any thread.
/// Camera::exit() and Camera::init() stop a running stream first (a waiting
/// next() returns empty). A failed SDK call inside the stream is thrown from
/// next() as the same Qel::Exception a Camera call would throw, and the stream
/// stops.
class NIMBREL_MODEL_API FrameStream {
public:
    /// Not copyable: there is one stream.
    FrameStream(const FrameStream&) = delete;
    /// Not assignable: there is one stream.
    FrameStream& operator=(const FrameStream&) = delete;

    /// The one stream, created on the first call.
    static FrameStream* getInstance();

    /// \brief Starts the stream on the open camera with room for `queueDepth`
    /// frames (at least 1). Counters start again from zero.
    /// \throws Qel::Exception when the camera is not open or the SDK refuses
    /// the frame event; a stream already running is stopped first.
    void start(const int& queueDepth = 3);
    /// Stops the stream; queued frames are released, frames a consumer holds
    /// stay valid. Does nothing when the stream is not running.
    void stop();
    /// Whether the stream runs.
    bool isRunning() const;

    /// \brief The oldest queued frame, waiting up to `timeout` for one.
    /// \return The frame, or nothing at the time-out or when the stream stops.
    /// \throws Qel::Exception with what the stream's SDK call reported, once.
    std::optional<Frame> next(const std::chrono::milliseconds& timeout);

    /// Frames handed out by next() since start().
    std::uint64_t delivered() const;
    /// Frames the camera made since start() that no consumer got: missed while
    /// the buffer was held, or pushed out of a full queue.
    std::uint64_t dropped() const;

private:
    FrameStream();
    ~FrameStream();
    static FrameStream* _instance;
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace Nimbrel_model
