#include "ogg_writer.hpp"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace sfx {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// libvorbis state, torn down in the reverse order of its set-up.
struct Encoder {
    vorbis_info info{};
    vorbis_comment comment{};
    vorbis_dsp_state dsp{};
    vorbis_block block{};
    ogg_stream_state stream{};
    bool dspReady = false;
    bool streamReady = false;

    Encoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder() {
        if (streamReady) ogg_stream_clear(&stream);
        if (dspReady) {
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

bool writePage(std::FILE* out, const ogg_page& page) {
    return std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), out) == static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), out) == static_cast<size_t>(page.body_len);
}

}  // namespace

bool writeOggVorbis(const Audio& audio, const std::filesystem::path& file, float quality, uint32_t serial,
                    const std::string& title) {
    Encoder enc;
    if (vorbis_encode_init_vbr(&enc.info, audio.channels, kRate, quality) != 0) return false;
    vorbis_comment_add_tag(&enc.comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&enc.comment, "ALBUM", "Lumerik");
    if (vorbis_analysis_init(&enc.dsp, &enc.info) != 0) return false;
    vorbis_block_init(&enc.dsp, &enc.block);
    enc.dspReady = true;
    ogg_stream_init(&enc.stream, static_cast<int>(serial));
    enc.streamReady = true;

    std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
    if (!out) return false;

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&enc.stream, &header);
    ogg_stream_packetin(&enc.stream, &commentHeader);
    ogg_stream_packetin(&enc.stream, &codeHeader);
    ogg_page page;
    // The audio starts on a fresh page, as decoders expect.
    while (ogg_stream_flush(&enc.stream, &page) != 0)
        if (!writePage(out.get(), page)) return false;

    const size_t frames = audio.frames();
    constexpr size_t kChunk = 4096;
    bool ok = true;
    auto drain = [&] {
        while (vorbis_analysis_blockout(&enc.dsp, &enc.block) == 1) {
            vorbis_analysis(&enc.block, nullptr);
            vorbis_bitrate_addblock(&enc.block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&enc.dsp, &packet) == 1) {
                ogg_stream_packetin(&enc.stream, &packet);
                while (ogg_stream_pageout(&enc.stream, &page) != 0) ok = ok && writePage(out.get(), page);
            }
        }
    };
    for (size_t start = 0; start < frames; start += kChunk) {
        const size_t n = std::min(kChunk, frames - start);
        float** buffer = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(n));
        for (size_t f = 0; f < n; ++f)
            for (int c = 0; c < audio.channels; ++c) buffer[c][f] = audio.samples[(start + f) * audio.channels + c];
        vorbis_analysis_wrote(&enc.dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&enc.dsp, 0);
    drain();
    while (ogg_stream_flush(&enc.stream, &page) != 0) ok = ok && writePage(out.get(), page);
    return ok && std::fflush(out.get()) == 0;
}

float decodedPeak(const std::filesystem::path& file) {
    OggVorbis_File vf;
    if (ov_fopen(file.c_str(), &vf) != 0) return 0;
    float peak = 0;
    float** pcm = nullptr;
    int section = 0;
    const int channels = ov_info(&vf, -1)->channels;
    for (long n; (n = ov_read_float(&vf, &pcm, 4096, &section)) > 0;)
        for (int c = 0; c < channels; ++c)
            for (long i = 0; i < n; ++i) peak = std::max(peak, pcm[c][i] < 0 ? -pcm[c][i] : pcm[c][i]);
    ov_clear(&vf);
    return peak;
}

}  // namespace sfx
