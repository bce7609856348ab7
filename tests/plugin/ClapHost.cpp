#include "plugin/ClapHost.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

namespace {

void nothing(const clap_host_t*) {}

}  // namespace

void ClapHost::latencyChanged(const clap_host_t* host) {
  ++static_cast<ClapHost*>(host->host_data)->latencyChanges_;
}

const void* ClapHost::hostExtension(const clap_host_t*, const char* id) {
  static const clap_host_latency_t latency{&ClapHost::latencyChanged};
  return std::string(id) == CLAP_EXT_LATENCY ? &latency : nullptr;
}

ClapHost::ClapHost(const std::string& modulePath, double sampleRate, uint32_t maxFrames) {
  module_ = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module_) throw std::runtime_error(std::string("cannot load ") + modulePath + ": " + dlerror());
  entry_ = static_cast<const clap_plugin_entry_t*>(dlsym(module_, "clap_entry"));
  if (!entry_ || !entry_->init(modulePath.c_str())) throw std::runtime_error("no clap_entry");
  const auto* factory =
      static_cast<const clap_plugin_factory_t*>(entry_->get_factory(CLAP_PLUGIN_FACTORY_ID));
  if (!factory || factory->get_plugin_count(factory) < 1) throw std::runtime_error("no plugin");
  host_ = {CLAP_VERSION_INIT, this, "Kylvander test host", "Kylvander", "", "1.0",
           &ClapHost::hostExtension, &nothing, &nothing, &nothing};
  const clap_plugin_descriptor_t* d = factory->get_plugin_descriptor(factory, 0);
  plugin_ = factory->create_plugin(factory, &host_, d->id);
  if (!plugin_ || !plugin_->init(plugin_)) throw std::runtime_error("the plugin did not start");
  if (!plugin_->activate(plugin_, sampleRate, 1, maxFrames)) throw std::runtime_error("not active");
  active_ = true;
  plugin_->start_processing(plugin_);
  events_.reserve(4096);
}

ClapHost::~ClapHost() {
  deactivate();
  if (plugin_) plugin_->destroy(plugin_);
  if (entry_) entry_->deinit();
  if (module_) dlclose(module_);
}

void ClapHost::deactivate() {
  if (!active_) return;
  plugin_->stop_processing(plugin_);
  plugin_->deactivate(plugin_);
  active_ = false;
}

void ClapHost::note(uint32_t frame, bool on, int key, double velocity) {
  Event e{};
  e.note.header = {sizeof(clap_event_note_t), frame, CLAP_CORE_EVENT_SPACE_ID,
                   uint16_t(on ? CLAP_EVENT_NOTE_ON : CLAP_EVENT_NOTE_OFF), 0};
  e.note.note_id = -1;
  e.note.port_index = 0;
  e.note.channel = 0;
  e.note.key = int16_t(key);
  e.note.velocity = velocity;
  events_.push_back(e);
}

void ClapHost::midi(uint32_t frame, const uint8_t bytes[3]) {
  Event e{};
  e.midi.header = {sizeof(clap_event_midi_t), frame, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
  e.midi.port_index = 0;
  e.midi.data[0] = bytes[0];
  e.midi.data[1] = bytes[1];
  e.midi.data[2] = bytes[2];
  events_.push_back(e);
}

uint32_t ClapHost::eventCount(const clap_input_events_t* list) {
  return uint32_t(static_cast<const ClapHost*>(list->ctx)->events_.size());
}

const clap_event_header_t* ClapHost::eventAt(const clap_input_events_t* list, uint32_t index) {
  return &static_cast<const ClapHost*>(list->ctx)->events_[index].header;
}

clap_process_status ClapHost::process(uint32_t frames, float* left, float* right) {
  float* channels[2] = {left, right};
  clap_audio_buffer_t output{};
  output.data32 = channels;
  output.channel_count = 2;
  const clap_input_events_t in{this, &ClapHost::eventCount, &ClapHost::eventAt};
  const clap_output_events_t out{this, &ClapHost::push};
  clap_process_t p{};
  p.steady_time = steadyTime_;
  p.frames_count = frames;
  p.audio_outputs = &output;
  p.audio_outputs_count = 1;
  p.in_events = &in;
  p.out_events = &out;
  const clap_process_status status = plugin_->process(plugin_, &p);
  steadyTime_ += frames;
  events_.clear();
  return status;
}
