// Wave output through the Windows wave mapper, with event notification: the system sets
// an event whenever it finishes a buffer, and the device's own thread, woken by it, marks
// the finished buffers done and signals the audio engine.

#include "platform/win32/windows_headers.h"
#include <mmsystem.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/backend/wave_device.h"
#include "platform/wave_out.h"

namespace veldra::platform {

namespace {

constexpr DWORD kSampleRate = 44100;
constexpr WORD kChannels = 1;
constexpr WORD kBitsPerSample = 16;
constexpr DWORD kWakeLimitMs = 100;  // the device thread checks for its end this often

}  // namespace

struct WaveDevice {
  HWAVEOUT handle = nullptr;
  HANDLE finished = nullptr;  // set by the system when a buffer is done
  WaveSignal signal = nullptr;
  void* context = nullptr;
  std::mutex lock;
  std::map<WaveBuffer*, std::unique_ptr<WAVEHDR>> headers;  // prepared buffers
  std::vector<WaveBuffer*> queued;                          // written, not yet done
  std::atomic<bool> closing{false};
  std::thread watcher;
};

namespace {

// Marks every queued buffer the system has finished as done; true when any was.
bool collectFinished(WaveDevice& device) {
  std::lock_guard<std::mutex> guard(device.lock);
  bool any = false;
  for (auto it = device.queued.begin(); it != device.queued.end();) {
    WAVEHDR& header = *device.headers[*it];
    if ((header.dwFlags & WHDR_DONE) != 0) {
      (*it)->done = true;
      it = device.queued.erase(it);
      any = true;
    } else {
      ++it;
    }
  }
  return any;
}

void watchDevice(WaveDevice* device) {
  while (!device->closing) {
    ::WaitForSingleObject(device->finished, kWakeLimitMs);
    if (collectFinished(*device)) device->signal(device->context);
  }
}

}  // namespace

// The Windows console never plays sound of its own.
bool device::consolePlaysSound() { return false; }
void device::sendSoundToConsole(const SoundRequest&) {}

WaveDevice* device::waveOpen(WaveSignal signal, void* context) {
  auto device = std::make_unique<WaveDevice>();
  device->signal = signal;
  device->context = context;
  device->finished = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (device->finished == nullptr) return nullptr;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = kChannels;
  format.nSamplesPerSec = kSampleRate;
  format.wBitsPerSample = kBitsPerSample;
  format.nBlockAlign = kChannels * kBitsPerSample / 8;
  format.nAvgBytesPerSec = kSampleRate * format.nBlockAlign;
  if (::waveOutOpen(&device->handle, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(device->finished), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    ::CloseHandle(device->finished);
    return nullptr;
  }
  device->watcher = std::thread(watchDevice, device.get());
  return device.release();
}

void wavePrepare(WaveDevice* device, WaveBuffer& buffer) {
  auto header = std::make_unique<WAVEHDR>();
  header->lpData = reinterpret_cast<LPSTR>(buffer.samples);
  header->dwBufferLength = static_cast<DWORD>(buffer.sampleCount) * sizeof(std::int16_t);
  if (::waveOutPrepareHeader(device->handle, header.get(), sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return;
  std::lock_guard<std::mutex> guard(device->lock);
  device->headers[&buffer] = std::move(header);
  buffer.prepared = true;
}

void waveUnprepare(WaveDevice* device, WaveBuffer& buffer) {
  std::lock_guard<std::mutex> guard(device->lock);
  auto found = device->headers.find(&buffer);
  if (found == device->headers.end()) return;
  ::waveOutUnprepareHeader(device->handle, found->second.get(), sizeof(WAVEHDR));
  device->headers.erase(found);
  buffer.prepared = false;
}

bool waveWrite(WaveDevice* device, WaveBuffer& buffer) {
  std::lock_guard<std::mutex> guard(device->lock);
  auto found = device->headers.find(&buffer);
  if (found == device->headers.end()) return false;
  buffer.done = false;
  found->second->dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
  if (::waveOutWrite(device->handle, found->second.get(), sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
  device->queued.push_back(&buffer);
  return true;
}

void waveReset(WaveDevice* device) {
  // The system marks every queued buffer done; they are handed back at once.
  ::waveOutReset(device->handle);
  {
    std::lock_guard<std::mutex> guard(device->lock);
    for (WaveBuffer* buffer : device->queued) buffer->done = true;
    device->queued.clear();
  }
  device->signal(device->context);
}

void waveClose(WaveDevice* device) {
  device->closing = true;
  ::SetEvent(device->finished);
  if (device->watcher.joinable()) device->watcher.join();
  ::waveOutClose(device->handle);
  ::CloseHandle(device->finished);
  delete device;
}

}  // namespace veldra::platform
