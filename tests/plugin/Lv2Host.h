// A small LV2 host on lilv, as the free music programs are built: it loads
// the plugin from the folders in LV2_PATH, offers the features the plugin
// requires (URID map, options with block lengths and rate, a worker), feeds
// MIDI and patch:Set messages through the atom input at exact frames, runs
// the worker between runs as a host's worker thread would, and saves and
// restores the plugin's state as a session does.
//
//   Lv2Host host("urn:kylvander:synth", 44100);
//   host.midi(frame, {0x90, 69, 100});
//   host.run(frames, left, right);
//
// Every allocation and free made on the calling thread during
// lilv_instance_run is counted (AllocationCounter.h).
#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Lv2Host {
 public:
  Lv2Host(const char* uri, double sampleRate, uint32_t maxFrames = 4096);
  ~Lv2Host();
  Lv2Host(const Lv2Host&) = delete;
  Lv2Host& operator=(const Lv2Host&) = delete;

  // Queued for the next run, at a frame of it.
  void midi(uint32_t frame, std::vector<uint8_t> bytes);
  void chooseFile(const std::string& path);
  // The host's transport from the next run on (a time:Position), which
  // moves on by itself while it plays.
  void transport(bool playing, uint64_t frame, double beatsPerMinute = 0.0);
  // Runs the plugin once (frames <= maxFrames), then its scheduled work.
  void run(uint32_t frames, float* left, float* right);

  float control(const char* symbol) const;
  void setControl(const char* symbol, float value);
  uint32_t latency() const { return uint32_t(control("lv2_latency")); }

  // The plugin's state as a session stores it (Turtle), and restored into
  // this instance.
  std::string saveState();
  void restoreState(const std::string& turtle);

  // What the calling thread allocated and freed inside the plugin's runs.
  uint64_t allocationsInRun() const { return allocationsInRun_; }
  uint64_t runs() const { return runs_; }

  LV2_URID map(const char* uri);
  const char* unmap(LV2_URID urid);
  const LilvPlugin* plugin() const { return plugin_; }
  LilvWorld* world() const { return world_; }

 private:
  struct Work {
    std::vector<uint8_t> data;
  };
  struct Port {
    std::string symbol;
    uint32_t index;
    bool control, output;
    float value;
  };
  static LV2_URID mapCallback(void* self, const char* uri);
  static const char* unmapCallback(void* self, LV2_URID urid);
  static LV2_Worker_Status scheduleWork(void* self, uint32_t size, const void* data);
  static LV2_Worker_Status workRespond(void* self, uint32_t size, const void* data);
  static void setPortValue(const char* symbol, void* self, const void* value, uint32_t size,
                           uint32_t type);
  static const void* getPortValue(const char* symbol, void* self, uint32_t* size, uint32_t* type);
  void buildFeatures(double sampleRate);
  void connectPorts();

  LilvWorld* world_ = nullptr;
  const LilvPlugin* plugin_ = nullptr;
  LilvInstance* instance_ = nullptr;
  uint32_t maxFrames_;

  std::mutex mapMutex_;
  std::map<std::string, LV2_URID> ids_;
  std::vector<std::string> uris_;
  LV2_URID_Map mapFeature_;
  LV2_URID_Unmap unmapFeature_;
  struct Features;
  std::unique_ptr<Features> features_;

  std::vector<Port> ports_;
  uint32_t audioLeft_ = 0, audioRight_ = 0, eventsIn_ = 0, eventsOut_ = 0;
  std::vector<uint8_t> inBuffer_, outBuffer_;
  struct Queued {
    enum Kind { kMidi, kFile, kTransport } kind;
    uint32_t frame;
    std::vector<uint8_t> bytes;  // MIDI, or the path
    bool playing;
    uint64_t position;
    double beatsPerMinute;
  };
  std::vector<Queued> queued_;
  // Requests scheduled during a run: copied into fixed space, no allocation.
  std::vector<uint8_t> workSpace_;
  std::vector<uint32_t> workSizes_;
  size_t workUsed_ = 0, workCount_ = 0;

  uint64_t allocationsInRun_ = 0;
  uint64_t runs_ = 0;
};
