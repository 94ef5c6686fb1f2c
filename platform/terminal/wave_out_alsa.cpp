// Wave output through ALSA's "default" PCM. libasound is loaded at run time, so building
// needs no audio headers and a machine without it simply has no device. All PCM calls
// after opening run on one device thread, which plays written buffers in order.

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/wave_out.h"
#include "platform/backend/wave_device.h"
#include "platform/terminal/shared_library.h"

namespace veldra::platform {
namespace {

// The few ALSA declarations used, from its stable C interface.
using snd_pcm_t = struct snd_pcm;
using snd_pcm_hw_params_t = struct snd_pcm_hw_params;
using snd_pcm_uframes_t = unsigned long;
using snd_pcm_sframes_t = long;
constexpr int kStreamPlayback = 0;
constexpr int kOpenNonBlocking = 1;
constexpr int kAccessInterleaved = 3;
constexpr int kFormatS16LE = 2;

constexpr unsigned kSampleRate = 44100;
constexpr unsigned kChannels = 1;
constexpr snd_pcm_uframes_t kPeriodFrames = 2048;
constexpr snd_pcm_uframes_t kPeriodsPerRing = 2;
// How long the device thread sleeps between checks for room, reset and close.
constexpr int kPollMilliseconds = 10;

using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

struct Alsa {
  void* library = nullptr;
  int (*pcmOpen)(snd_pcm_t**, const char*, int, int) = nullptr;
  int (*pcmClose)(snd_pcm_t*) = nullptr;
  int (*hwParamsMalloc)(snd_pcm_hw_params_t**) = nullptr;
  void (*hwParamsFree)(snd_pcm_hw_params_t*) = nullptr;
  int (*hwParamsAny)(snd_pcm_t*, snd_pcm_hw_params_t*) = nullptr;
  int (*hwParamsSetAccess)(snd_pcm_t*, snd_pcm_hw_params_t*, int) = nullptr;
  int (*hwParamsSetFormat)(snd_pcm_t*, snd_pcm_hw_params_t*, int) = nullptr;
  int (*hwParamsSetChannels)(snd_pcm_t*, snd_pcm_hw_params_t*, unsigned) = nullptr;
  int (*hwParamsSetRateNear)(snd_pcm_t*, snd_pcm_hw_params_t*, unsigned*, int*) = nullptr;
  int (*hwParamsSetPeriodSizeNear)(snd_pcm_t*, snd_pcm_hw_params_t*, snd_pcm_uframes_t*, int*) = nullptr;
  int (*hwParamsSetBufferSizeNear)(snd_pcm_t*, snd_pcm_hw_params_t*, snd_pcm_uframes_t*) = nullptr;
  int (*hwParams)(snd_pcm_t*, snd_pcm_hw_params_t*) = nullptr;
  int (*prepare)(snd_pcm_t*) = nullptr;
  int (*drop)(snd_pcm_t*) = nullptr;
  int (*wait)(snd_pcm_t*, int) = nullptr;
  int (*recover)(snd_pcm_t*, int, int) = nullptr;
  snd_pcm_sframes_t (*writei)(snd_pcm_t*, const void*, snd_pcm_uframes_t) = nullptr;
  int (*setErrorHandler)(ErrorHandler) = nullptr;
};

// ALSA prints its complaints to standard error unless told otherwise; that would scribble
// over the game's picture.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

const Alsa* loadAlsa() {
  static const Alsa* loaded = []() -> const Alsa* {
    static Alsa alsa;
    alsa.library = terminal::openSharedLibrary("libasound.so.2");
    if (!alsa.library) return nullptr;
    void* l = alsa.library;
    const bool complete =
        terminal::bindSymbol(l, "snd_pcm_open", alsa.pcmOpen) && terminal::bindSymbol(l, "snd_pcm_close", alsa.pcmClose) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_malloc", alsa.hwParamsMalloc) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_free", alsa.hwParamsFree) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_any", alsa.hwParamsAny) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_set_access", alsa.hwParamsSetAccess) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_set_format", alsa.hwParamsSetFormat) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_set_channels", alsa.hwParamsSetChannels) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_set_rate_near", alsa.hwParamsSetRateNear) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_set_period_size_near", alsa.hwParamsSetPeriodSizeNear) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params_set_buffer_size_near", alsa.hwParamsSetBufferSizeNear) &&
        terminal::bindSymbol(l, "snd_pcm_hw_params", alsa.hwParams) && terminal::bindSymbol(l, "snd_pcm_prepare", alsa.prepare) &&
        terminal::bindSymbol(l, "snd_pcm_drop", alsa.drop) && terminal::bindSymbol(l, "snd_pcm_wait", alsa.wait) &&
        terminal::bindSymbol(l, "snd_pcm_recover", alsa.recover) && terminal::bindSymbol(l, "snd_pcm_writei", alsa.writei) &&
        terminal::bindSymbol(l, "snd_lib_error_set_handler", alsa.setErrorHandler);
    if (!complete) return nullptr;
    alsa.setErrorHandler(ignoreAlsaError);
    return &alsa;
  }();
  return loaded;
}

bool configure(const Alsa& alsa, snd_pcm_t* pcm) {
  snd_pcm_hw_params_t* params = nullptr;
  if (alsa.hwParamsMalloc(&params) < 0) return false;
  unsigned rate = kSampleRate;
  snd_pcm_uframes_t period = kPeriodFrames;
  snd_pcm_uframes_t ring = kPeriodFrames * kPeriodsPerRing;
  int direction = 0;
  const bool ok = alsa.hwParamsAny(pcm, params) >= 0 &&
                  alsa.hwParamsSetAccess(pcm, params, kAccessInterleaved) >= 0 &&
                  alsa.hwParamsSetFormat(pcm, params, kFormatS16LE) >= 0 &&
                  alsa.hwParamsSetChannels(pcm, params, kChannels) >= 0 &&
                  alsa.hwParamsSetRateNear(pcm, params, &rate, &direction) >= 0 &&
                  alsa.hwParamsSetPeriodSizeNear(pcm, params, &period, &direction) >= 0 &&
                  alsa.hwParamsSetBufferSizeNear(pcm, params, &ring) >= 0 && alsa.hwParams(pcm, params) >= 0;
  alsa.hwParamsFree(params);
  return ok && alsa.prepare(pcm) >= 0;
}

}  // namespace

struct WaveDevice {
  const Alsa* alsa = nullptr;
  snd_pcm_t* pcm = nullptr;
  WaveSignal signal = nullptr;
  void* context = nullptr;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<WaveBuffer*> queue;  // written, not yet played
  bool resetRequested = false;
  bool closing = false;
  bool failed = false;  // the PCM could not be recovered: writes are refused
  std::thread thread;
};

namespace {

enum class Played { Whole, CutShort, DeviceFailed };

// Plays one buffer: whole, cut short by a reset or close, or stopped by a device that
// failed beyond recovery (gone, say).
Played playBuffer(WaveDevice& device, const WaveBuffer& buffer) {
  const Alsa& alsa = *device.alsa;
  const std::int16_t* samples = buffer.samples;
  snd_pcm_uframes_t left = static_cast<snd_pcm_uframes_t>(buffer.sampleCount);
  while (left > 0) {
    {
      std::lock_guard<std::mutex> guard(device.mutex);
      if (device.resetRequested || device.closing) return Played::CutShort;
    }
    const snd_pcm_sframes_t written = alsa.writei(device.pcm, samples, left);
    if (written == -EAGAIN) {
      alsa.wait(device.pcm, kPollMilliseconds);
      continue;
    }
    if (written < 0) {
      // An underrun or a suspended device: recover and go on. Anything worse means the
      // device is lost; the game goes on silent.
      if (alsa.recover(device.pcm, static_cast<int>(written), 1) < 0) return Played::DeviceFailed;
      continue;
    }
    samples += written;
    left -= static_cast<snd_pcm_uframes_t>(written);
  }
  return Played::Whole;
}

void finishBuffer(WaveDevice& device, WaveBuffer& buffer) {
  buffer.done = true;
  if (device.signal) device.signal(device.context);
}

void runDevice(WaveDevice& device) {
  for (;;) {
    WaveBuffer* buffer = nullptr;
    {
      std::unique_lock<std::mutex> guard(device.mutex);
      device.wake.wait(guard, [&] { return device.closing || device.resetRequested || !device.queue.empty(); });
      if (device.closing) return;
      if (device.resetRequested) {
        device.alsa->drop(device.pcm);
        device.alsa->prepare(device.pcm);
        for (WaveBuffer* queued : device.queue) queued->done = true;
        device.queue.clear();
        device.resetRequested = false;
        device.wake.notify_all();
        continue;
      }
      buffer = device.queue.front();
    }
    const Played played = playBuffer(device, *buffer);
    std::lock_guard<std::mutex> guard(device.mutex);
    if (played == Played::DeviceFailed) {
      // Everything queued comes back unplayed, and later writes are refused.
      device.failed = true;
      for (WaveBuffer* queued : device.queue) queued->done = true;
      device.queue.clear();
      if (device.signal) device.signal(device.context);
      continue;
    }
    // A reset that came meanwhile hands the buffer back itself.
    if (played == Played::Whole && !device.queue.empty() && device.queue.front() == buffer) {
      device.queue.pop_front();
      finishBuffer(device, *buffer);
    }
  }
}

}  // namespace

WaveDevice* device::waveOpen(WaveSignal signal, void* context) {
  const Alsa* alsa = loadAlsa();
  if (!alsa) return nullptr;
  snd_pcm_t* pcm = nullptr;
  if (alsa->pcmOpen(&pcm, "default", kStreamPlayback, kOpenNonBlocking) < 0) return nullptr;
  if (!configure(*alsa, pcm)) {
    alsa->pcmClose(pcm);
    return nullptr;
  }
  auto* device = new WaveDevice;
  device->alsa = alsa;
  device->pcm = pcm;
  device->signal = signal;
  device->context = context;
  try {
    device->thread = std::thread(runDevice, std::ref(*device));
  } catch (const std::system_error&) {
    alsa->pcmClose(pcm);
    delete device;
    return nullptr;
  }
  return device;
}

void wavePrepare(WaveDevice*, WaveBuffer& buffer) { buffer.prepared = true; }
void waveUnprepare(WaveDevice*, WaveBuffer& buffer) { buffer.prepared = false; }

bool waveWrite(WaveDevice* device, WaveBuffer& buffer) {
  std::lock_guard<std::mutex> guard(device->mutex);
  if (device->failed) return false;
  buffer.done = false;
  device->queue.push_back(&buffer);
  device->wake.notify_all();
  return true;
}

void waveReset(WaveDevice* device) {
  std::unique_lock<std::mutex> guard(device->mutex);
  device->resetRequested = true;
  device->wake.notify_all();
  // The device thread answers within one poll; do not wait on a wedged device for ever.
  device->wake.wait_for(guard, std::chrono::milliseconds(20 * kPollMilliseconds),
                        [&] { return !device->resetRequested; });
  for (WaveBuffer* queued : device->queue) queued->done = true;
  device->queue.clear();
}

void waveClose(WaveDevice* device) {
  {
    std::lock_guard<std::mutex> guard(device->mutex);
    device->closing = true;
    device->wake.notify_all();
  }
  device->thread.join();
  device->alsa->drop(device->pcm);
  device->alsa->pcmClose(device->pcm);
  delete device;
}

}  // namespace veldra::platform
