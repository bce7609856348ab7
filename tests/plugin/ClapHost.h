// A minimal CLAP host: loads a .clap module through its clap_entry, creates
// its first plugin, activates it and feeds it events and buffers as a host's
// audio thread does. It offers the host's latency extension, whose changed()
// DPF's wrapper calls without asking, and counts the calls. The CLAP
// headers are the ones DPF carries.
//
//   ClapHost host(path, 44100, 1024);
//   host.note(0, true, 69, 0.8);
//   host.process(frames, left, right);
#pragma once

#include <clap/entry.h>
#include <clap/ext/latency.h>
#include <clap/ext/params.h>
#include <clap/host.h>
#include <clap/plugin-factory.h>
#include <clap/process.h>

#include <string>
#include <vector>

class ClapHost {
 public:
  ClapHost(const std::string& modulePath, double sampleRate, uint32_t maxFrames);
  ~ClapHost();
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clap_plugin_t* plugin() const { return plugin_; }
  const clap_plugin_descriptor_t* descriptor() const { return plugin_->desc; }
  template <class T>
  const T* extension(const char* id) const {
    return static_cast<const T*>(plugin_->get_extension(plugin_, id));
  }

  // Queued for the next process call, at a frame of it.
  void note(uint32_t frame, bool on, int key, double velocity);
  void midi(uint32_t frame, const uint8_t bytes[3]);
  clap_process_status process(uint32_t frames, float* left, float* right);
  // Deactivates (the destructor does it too).
  void deactivate();
  // How often the plugin said its latency changed.
  int latencyChanges() const { return latencyChanges_; }

 private:
  static uint32_t eventCount(const clap_input_events_t* list);
  static const clap_event_header_t* eventAt(const clap_input_events_t* list, uint32_t index);
  static bool push(const clap_output_events_t*, const clap_event_header_t*) { return true; }
  static const void* hostExtension(const clap_host_t* host, const char* id);
  static void latencyChanged(const clap_host_t* host);

  void* module_ = nullptr;
  const clap_plugin_entry_t* entry_ = nullptr;
  clap_host_t host_;
  const clap_plugin_t* plugin_ = nullptr;
  bool active_ = false;
  int latencyChanges_ = 0;
  int64_t steadyTime_ = 0;
  union Event {
    clap_event_header_t header;
    clap_event_note_t note;
    clap_event_midi_t midi;
  };
  std::vector<Event> events_;
};
