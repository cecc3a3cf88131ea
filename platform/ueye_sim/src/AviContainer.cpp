#include "AviContainer.h"

#include <filesystem>
#include <system_error>

extern "C" {
#include <libavcodec/packet.h>
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

namespace ueye_sim::detail {

namespace {

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

}  // namespace

void AviContainer::ContextDeleter::operator()(AVFormatContext* context) const {
    if (context->pb) avio_closep(&context->pb);
    avformat_free_context(context);
}

AviContainer::AviContainer(const std::string& path) : path_(path) {
    AVFormatContext* raw = nullptr;
    if (avformat_alloc_output_context2(&raw, nullptr, "avi", path.c_str()) < 0 || !raw) return;
    std::unique_ptr<AVFormatContext, ContextDeleter> context(raw);
    if (avio_open(&context->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) return;
    context_ = std::move(context);
}

AviContainer::~AviContainer() = default;

bool AviContainer::writeHeader(int width, int height, int fpsNum, int fpsDen) {
    if (!context_ || context_->nb_streams != 0) return false;
    AVStream* stream = avformat_new_stream(context_.get(), nullptr);
    if (!stream) return false;
    AVCodecParameters* par = stream->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = AV_CODEC_ID_MJPEG;
    par->codec_tag = MKTAG('M', 'J', 'P', 'G');
    par->width = width;
    par->height = height;
    par->bits_per_coded_sample = 24;
    par->format = AV_PIX_FMT_YUVJ420P;
    stream->time_base = AVRational{fpsDen, fpsNum};
    stream->avg_frame_rate = AVRational{fpsNum, fpsDen};
    stream->r_frame_rate = stream->avg_frame_rate;
    frameTimeBase_ = stream->time_base;
    return avformat_write_header(context_.get(), nullptr) >= 0;
}

bool AviContainer::writeFrame(const unsigned char* jpeg, std::size_t size) {
    if (!context_ || context_->nb_streams != 1 || size > 0x7fffffffU) return false;
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet) return false;
    const AVStream* stream = context_->streams[0];
    // The muxer may have changed the time base; frames stay one apart at the rate asked for.
    const std::int64_t pts = av_rescale_q(frames_, frameTimeBase_, stream->time_base);
    // Not reference counted: av_write_frame neither copies nor frees it.
    packet->data = const_cast<unsigned char*>(jpeg);
    packet->size = static_cast<int>(size);
    packet->stream_index = 0;
    packet->pts = pts;
    packet->dts = pts;
    packet->duration = av_rescale_q(frames_ + 1, frameTimeBase_, stream->time_base) - pts;
    packet->flags = AV_PKT_FLAG_KEY;
    if (av_write_frame(context_.get(), packet.get()) < 0 || context_->pb->error < 0) return false;
    ++frames_;
    return true;
}

bool AviContainer::writeTrailer() {
    if (!context_) return false;
    const bool written = av_write_trailer(context_.get()) >= 0;
    // The trailer ends by rewriting the headers, so the position is no longer the size.
    avio_flush(context_->pb);
    finishedSize_ = avio_size(context_->pb);
    return written && context_->pb->error >= 0 && finishedSize_ >= 0;
}

bool AviContainer::close() {
    if (!context_) return false;
    const bool closed = avio_closep(&context_->pb) >= 0;
    context_.reset();
    std::error_code error;
    const auto size = std::filesystem::file_size(path_, error);
    closedSize_ = error ? 0 : static_cast<std::int64_t>(size);
    return closed;
}

std::int64_t AviContainer::bytesWritten() const {
    if (!context_ || !context_->pb) return closedSize_;
    return finishedSize_ >= 0 ? finishedSize_ : avio_tell(context_->pb);
}

}  // namespace ueye_sim::detail
