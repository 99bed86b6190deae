#include "ui/sound/PulseOutput.h"

#include <pulse/proplist.h>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tumblara {
namespace {

// How long after a failed connection the next wave tries again.
constexpr auto kRetryAfter = std::chrono::seconds(2);
// A wave that waited longer than this for the connection is no longer
// worth hearing.
constexpr auto kStaleAfter = std::chrono::milliseconds(250);
// The stream's buffer: small, so a wave is heard soon after it is started.
constexpr pa_usec_t kBufferUsec = 30'000;
// What is written at once, whatever the server asks for: an effect lies in
// memory already, and a whole one queued cannot run dry on a busy machine.
constexpr pa_usec_t kWriteAheadUsec = 2'000'000;
// Less than the server's largest buffer, whatever the format.
constexpr std::size_t kWriteAheadMaxBytes = 1U << 20U;

constexpr std::uint32_t kServerDefault = std::numeric_limits<std::uint32_t>::max();

pa_sample_format_t ServerFormat(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::U8: return PA_SAMPLE_U8;
    case SampleEncoding::S16LE: return PA_SAMPLE_S16LE;
    case SampleEncoding::S24LE: return PA_SAMPLE_S24LE;
    case SampleEncoding::S32LE: return PA_SAMPLE_S32LE;
    case SampleEncoding::F32LE: return PA_SAMPLE_FLOAT32LE;
    case SampleEncoding::ALaw: return PA_SAMPLE_ALAW;
    case SampleEncoding::MuLaw: return PA_SAMPLE_ULAW;
    }
    return PA_SAMPLE_INVALID;
}

class LoopLock {
public:
    LoopLock(const PulseApi& api, pa_threaded_mainloop* loop) : api_(api), loop_(loop) {
        api_.pa_threaded_mainloop_lock(loop_);
    }
    ~LoopLock() { api_.pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    const PulseApi& api_;
    pa_threaded_mainloop* loop_;
};

}  // namespace

// One wave on its way to the server. Touched by both threads, always under
// the loop's lock.
struct PulseOutput::Playback {
    const PulseApi* api = nullptr;
    std::shared_ptr<const Wave> wave;
    pa_sample_spec format{};
    pa_stream* stream = nullptr;
    pa_operation* drain = nullptr;
    std::size_t written = 0;
};

std::unique_ptr<PulseOutput> PulseOutput::Open() {
    auto api = PulseApi::Load();
    if (!api) return nullptr;
    pa_threaded_mainloop* loop = api->pa_threaded_mainloop_new();
    if (loop == nullptr) return nullptr;
    if (api->pa_threaded_mainloop_start(loop) < 0) {
        api->pa_threaded_mainloop_free(loop);
        return nullptr;
    }
    auto output = std::make_unique<PulseOutput>(Key{}, *api, loop);
    LoopLock lock(output->api_, loop);
    output->Connect();
    return output;
}

PulseOutput::PulseOutput(Key, PulseApi api, pa_threaded_mainloop* loop) : api_(api), loop_(loop) {}

PulseOutput::~PulseOutput() {
    {
        LoopLock lock(api_, loop_);
        Cut();
        pending_.reset();
        if (context_ != nullptr) {
            api_.pa_context_set_state_callback(context_, nullptr, nullptr);
            api_.pa_context_disconnect(context_);
            api_.pa_context_unref(context_);
        }
    }
    api_.pa_threaded_mainloop_stop(loop_);
    api_.pa_threaded_mainloop_free(loop_);
}

void PulseOutput::Start(std::shared_ptr<const Wave> wave) {
    LoopLock lock(api_, loop_);
    Cut();
    pending_.reset();
    if (!wave) return;
    const pa_context_state_t state = context_ != nullptr ? api_.pa_context_get_state(context_) : PA_CONTEXT_FAILED;
    if (state == PA_CONTEXT_READY) {
        Play(std::move(wave));
        return;
    }
    const auto now = Clock::now();
    if (!PA_CONTEXT_IS_GOOD(state)) {
        if (now - lastConnect_ < kRetryAfter) return;
        Connect();
    }
    pending_ = std::move(wave);
    pendingSince_ = now;
}

void PulseOutput::Connect() {
    if (context_ != nullptr) {
        api_.pa_context_set_state_callback(context_, nullptr, nullptr);
        api_.pa_context_disconnect(context_);
        api_.pa_context_unref(context_);
        context_ = nullptr;
    }
    lastConnect_ = Clock::now();
    pa_proplist* props = api_.pa_proplist_new();
    api_.pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Tumblara");
    api_.pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "tumblara");
    api_.pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "game");
    context_ = api_.pa_context_new_with_proplist(api_.pa_threaded_mainloop_get_api(loop_), "Tumblara", props);
    api_.pa_proplist_free(props);
    if (context_ == nullptr) return;
    api_.pa_context_set_state_callback(context_, &PulseOutput::OnContextState, this);
    // No autospawn: a game never starts a sound server. A refused connection
    // leaves the context failed, which the next wave notices.
    api_.pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
}

void PulseOutput::OnContextState(pa_context* context, void* self) {
    auto& out = *static_cast<PulseOutput*>(self);
    if (out.api_.pa_context_get_state(context) == PA_CONTEXT_READY) out.PlayPending();
}

void PulseOutput::PlayPending() {
    if (pending_ && Clock::now() - pendingSince_ <= kStaleAfter) Play(std::move(pending_));
    pending_.reset();
}

void PulseOutput::Play(std::shared_ptr<const Wave> wave) {
    const pa_sample_spec format{ServerFormat(wave->format.encoding), wave->format.sampleRate,
                                static_cast<std::uint8_t>(wave->format.channels)};
    if (api_.pa_sample_spec_valid(&format) == 0) return;
    pa_stream* stream = api_.pa_stream_new(context_, "effect", &format, nullptr);
    if (stream == nullptr) return;
    auto playback = std::make_unique<Playback>();
    playback->api = &api_;
    playback->wave = std::move(wave);
    playback->format = format;
    playback->stream = stream;
    api_.pa_stream_set_write_callback(stream, &PulseOutput::OnWritable, playback.get());
    pa_buffer_attr attr{};
    attr.maxlength = kServerDefault;
    attr.tlength = static_cast<std::uint32_t>(api_.pa_usec_to_bytes(kBufferUsec, &format));
    attr.prebuf = kServerDefault;
    attr.minreq = kServerDefault;
    attr.fragsize = kServerDefault;
    if (api_.pa_stream_connect_playback(stream, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0) {
        api_.pa_stream_set_write_callback(stream, nullptr, nullptr);
        api_.pa_stream_unref(stream);
        return;
    }
    current_ = std::move(playback);
}

void PulseOutput::Cut() {
    if (!current_) return;
    pa_stream* stream = current_->stream;
    api_.pa_stream_set_write_callback(stream, nullptr, nullptr);
    if (current_->drain != nullptr) {
        if (api_.pa_operation_get_state(current_->drain) == PA_OPERATION_RUNNING)
            api_.pa_operation_cancel(current_->drain);
        api_.pa_operation_unref(current_->drain);
    }
    if (PA_STREAM_IS_GOOD(api_.pa_stream_get_state(stream))) api_.pa_stream_disconnect(stream);
    api_.pa_stream_unref(stream);
    current_.reset();
}

void PulseOutput::OnWritable(pa_stream* stream, std::size_t bytes, void* playback) {
    auto& p = *static_cast<Playback*>(playback);
    const auto& samples = p.wave->samples;
    const std::size_t ahead = std::min(p.api->pa_usec_to_bytes(kWriteAheadUsec, &p.format), kWriteAheadMaxBytes);
    const std::size_t count = std::min(std::max(bytes, ahead), samples.size() - p.written);
    if (count > 0) {
        // No free callback: the library copies the bytes. A refused write
        // ends the wave.
        const int refused =
            p.api->pa_stream_write(stream, samples.data() + p.written, count, nullptr, 0, PA_SEEK_RELATIVE);
        p.written = refused < 0 ? samples.size() : p.written + count;
    }
    // Draining starts a wave shorter than the buffer, and tells when it ended.
    if (p.written == samples.size() && p.drain == nullptr)
        p.drain = p.api->pa_stream_drain(stream, &PulseOutput::OnDrained, playback);
}

void PulseOutput::OnDrained(pa_stream* stream, int /*success*/, void* playback) {
    // Leave no idle stream behind: it would keep the sound card awake.
    static_cast<Playback*>(playback)->api->pa_stream_disconnect(stream);
}

}  // namespace tumblara
