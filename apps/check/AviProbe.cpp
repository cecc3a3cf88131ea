#include "AviProbe.h"

#include "Session.h"

extern "C" {
#include <libavcodec/packet.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <memory>

namespace check {

namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

}  // namespace

AviFacts probeAvi(const std::string& path) {
    av_log_set_level(AV_LOG_ERROR);  // its notes on the stream are not the report's business
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.c_str(), nullptr, nullptr) < 0) throw CheckFailure("cannot open " + path);
    const std::unique_ptr<AVFormatContext, InputCloser> input(raw);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) throw CheckFailure("cannot read the streams of " + path);
    const int stream = av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream < 0) throw CheckFailure(path + " holds no video");

    AviFacts facts;
    facts.width = input->streams[stream]->codecpar->width;
    facts.height = input->streams[stream]->codecpar->height;
    facts.frameRate = av_q2d(input->streams[stream]->avg_frame_rate);
    const std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    while (av_read_frame(input.get(), packet.get()) >= 0) {
        if (packet->stream_index == stream) ++facts.frames;
        av_packet_unref(packet.get());
    }
    return facts;
}

}  // namespace check
