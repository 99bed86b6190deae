#pragma once
// The few PulseAudio client calls the sound layer makes, resolved from
// libpulse when the first sound is played rather than linked: the library and
// its dependencies would otherwise load, and cost time and memory, at every
// start-up, even when no game is ever played.

#include <pulse/context.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <optional>

#define TUMBLARA_PULSE_CALLS(X)                                                                    \
    X(pa_threaded_mainloop_new) X(pa_threaded_mainloop_free) X(pa_threaded_mainloop_start)         \
    X(pa_threaded_mainloop_stop) X(pa_threaded_mainloop_lock) X(pa_threaded_mainloop_unlock)       \
    X(pa_threaded_mainloop_get_api) X(pa_proplist_new) X(pa_proplist_sets) X(pa_proplist_free)     \
    X(pa_context_new_with_proplist) X(pa_context_set_state_callback) X(pa_context_connect)         \
    X(pa_context_disconnect) X(pa_context_unref) X(pa_context_get_state) X(pa_stream_new)          \
    X(pa_stream_set_write_callback) X(pa_stream_connect_playback) X(pa_stream_write)               \
    X(pa_stream_drain) X(pa_stream_disconnect) X(pa_stream_unref) X(pa_stream_get_state)           \
    X(pa_operation_unref) X(pa_operation_cancel) X(pa_operation_get_state) X(pa_usec_to_bytes)     \
    X(pa_sample_spec_valid)

namespace tumblara {

struct PulseApi {
#define TUMBLARA_PULSE_MEMBER(name) decltype(&::name) name = nullptr;
    TUMBLARA_PULSE_CALLS(TUMBLARA_PULSE_MEMBER)
#undef TUMBLARA_PULSE_MEMBER

    // Nothing when libpulse is not installed or lacks a call. The library
    // stays loaded to the end of the process: its threads' state must outlive
    // the last stream.
    static std::optional<PulseApi> Load();
};

}  // namespace tumblara
