#include "plugin/Lv2Host.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/parameters/parameters.h>
#include <lv2/patch/patch.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>
#include <lv2/worker/worker.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "plugin/AllocationCounter.h"

struct Lv2Host::Features {
  int32_t minBlock = 0, maxBlock = 0, nominalBlock = 0;
  float rate = 0.0f;
  LV2_Options_Option options[5];
  LV2_Worker_Schedule schedule;
  LV2_Feature mapF, unmapF, optionsF, scheduleF, boundedF;
  const LV2_Feature* list[6];
};

Lv2Host::Lv2Host(const char* uri, double sampleRate, uint32_t maxFrames)
    : maxFrames_(maxFrames), features_(new Features) {
  world_ = lilv_world_new();
  lilv_world_load_all(world_);  // the folders in LV2_PATH
  LilvNode* node = lilv_new_uri(world_, uri);
  plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_), node);
  lilv_node_free(node);
  if (!plugin_) throw std::runtime_error(std::string("no LV2 plugin ") + uri + " in LV2_PATH");

  mapFeature_ = {this, &Lv2Host::mapCallback};
  unmapFeature_ = {this, &Lv2Host::unmapCallback};
  buildFeatures(sampleRate);
  instance_ = lilv_plugin_instantiate(plugin_, sampleRate, features_->list);
  if (!instance_) throw std::runtime_error("the plugin did not instantiate");
  connectPorts();
  workSpace_.resize(1 << 16);
  workSizes_.resize(64);
  lilv_instance_activate(instance_);
}

Lv2Host::~Lv2Host() {
  if (instance_) {
    lilv_instance_deactivate(instance_);
    lilv_instance_free(instance_);
  }
  lilv_world_free(world_);
}

LV2_URID Lv2Host::map(const char* uri) {
  std::lock_guard<std::mutex> lock(mapMutex_);
  auto it = ids_.find(uri);
  if (it != ids_.end()) return it->second;
  uris_.push_back(uri);
  return ids_[uri] = LV2_URID(uris_.size());
}

const char* Lv2Host::unmap(LV2_URID urid) {
  std::lock_guard<std::mutex> lock(mapMutex_);
  return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

LV2_URID Lv2Host::mapCallback(void* self, const char* uri) { return static_cast<Lv2Host*>(self)->map(uri); }
const char* Lv2Host::unmapCallback(void* self, LV2_URID urid) {
  return static_cast<Lv2Host*>(self)->unmap(urid);
}

void Lv2Host::buildFeatures(double sampleRate) {
  Features& f = *features_;
  f.minBlock = 1;
  f.maxBlock = f.nominalBlock = int32_t(maxFrames_);
  f.rate = float(sampleRate);
  const LV2_URID intType = map(LV2_ATOM__Int), floatType = map(LV2_ATOM__Float);
  f.options[0] = {LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__minBlockLength), sizeof(int32_t), intType, &f.minBlock};
  f.options[1] = {LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t), intType, &f.maxBlock};
  f.options[2] = {LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__nominalBlockLength), sizeof(int32_t), intType,
                  &f.nominalBlock};
  f.options[3] = {LV2_OPTIONS_INSTANCE, 0, map(LV2_PARAMETERS__sampleRate), sizeof(float), floatType, &f.rate};
  f.options[4] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
  f.schedule = {this, &Lv2Host::scheduleWork};
  f.mapF = {LV2_URID__map, &mapFeature_};
  f.unmapF = {LV2_URID__unmap, &unmapFeature_};
  f.optionsF = {LV2_OPTIONS__options, f.options};
  f.scheduleF = {LV2_WORKER__schedule, &f.schedule};
  f.boundedF = {LV2_BUF_SIZE__boundedBlockLength, nullptr};
  f.list[0] = &f.mapF;
  f.list[1] = &f.unmapF;
  f.list[2] = &f.optionsF;
  f.list[3] = &f.scheduleF;
  f.list[4] = &f.boundedF;
  f.list[5] = nullptr;
}

void Lv2Host::connectPorts() {
  LilvNode* audio = lilv_new_uri(world_, LV2_CORE__AudioPort);
  LilvNode* control = lilv_new_uri(world_, LV2_CORE__ControlPort);
  LilvNode* atom = lilv_new_uri(world_, LV2_ATOM__AtomPort);
  LilvNode* output = lilv_new_uri(world_, LV2_CORE__OutputPort);
  const uint32_t count = lilv_plugin_get_num_ports(plugin_);
  std::vector<float> defaults(count, 0.0f);
  lilv_plugin_get_port_ranges_float(plugin_, nullptr, nullptr, defaults.data());
  inBuffer_.assign(1 << 16, 0);
  outBuffer_.assign(1 << 16, 0);
  ports_.resize(count);
  int audioOuts = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(plugin_, i);
    Port& p = ports_[i];
    p.symbol = lilv_node_as_string(lilv_port_get_symbol(plugin_, port));
    p.index = i;
    p.output = lilv_port_is_a(plugin_, port, output);
    p.control = lilv_port_is_a(plugin_, port, control);
    p.value = std::isnan(defaults[i]) ? 0.0f : defaults[i];
    if (p.control) {
      lilv_instance_connect_port(instance_, i, &p.value);
    } else if (lilv_port_is_a(plugin_, port, audio)) {
      (audioOuts++ == 0 ? audioLeft_ : audioRight_) = i;
    } else if (lilv_port_is_a(plugin_, port, atom)) {
      (p.output ? eventsOut_ : eventsIn_) = i;
    }
  }
  lilv_instance_connect_port(instance_, eventsIn_, inBuffer_.data());
  lilv_instance_connect_port(instance_, eventsOut_, outBuffer_.data());
  for (LilvNode* n : {audio, control, atom, output}) lilv_node_free(n);
}

void Lv2Host::midi(uint32_t frame, std::vector<uint8_t> bytes) {
  queued_.push_back({Queued::kMidi, frame, std::move(bytes), false, 0, 0.0});
}

void Lv2Host::chooseFile(const std::string& path) {
  queued_.push_back({Queued::kFile, 0, std::vector<uint8_t>(path.begin(), path.end()), false, 0, 0.0});
}

void Lv2Host::transport(bool playing, uint64_t frame, double beatsPerMinute) {
  queued_.push_back({Queued::kTransport, 0, {}, playing, frame, beatsPerMinute});
}

LV2_Worker_Status Lv2Host::scheduleWork(void* self, uint32_t size, const void* data) {
  Lv2Host& host = *static_cast<Lv2Host*>(self);
  if (host.workUsed_ + size > host.workSpace_.size() || host.workCount_ == host.workSizes_.size())
    return LV2_WORKER_ERR_NO_SPACE;
  std::memcpy(host.workSpace_.data() + host.workUsed_, data, size);
  host.workUsed_ += size;
  host.workSizes_[host.workCount_++] = size;
  return LV2_WORKER_SUCCESS;
}

LV2_Worker_Status Lv2Host::workRespond(void*, uint32_t, const void*) { return LV2_WORKER_SUCCESS; }

void Lv2Host::run(uint32_t frames, float* left, float* right) {
  if (frames > maxFrames_) throw std::runtime_error("more frames than the block length offered");
  LV2_Atom_Forge forge;
  lv2_atom_forge_init(&forge, &mapFeature_);
  lv2_atom_forge_set_buffer(&forge, inBuffer_.data(), inBuffer_.size());
  LV2_Atom_Forge_Frame sequence;
  lv2_atom_forge_sequence_head(&forge, &sequence, 0);
  const LV2_URID midiType = map(LV2_MIDI__MidiEvent);
  for (const Queued& q : queued_) {
    lv2_atom_forge_frame_time(&forge, q.frame);
    if (q.kind == Queued::kMidi) {
      lv2_atom_forge_atom(&forge, uint32_t(q.bytes.size()), midiType);
      lv2_atom_forge_write(&forge, q.bytes.data(), uint32_t(q.bytes.size()));
    } else if (q.kind == Queued::kTransport) {
      LV2_Atom_Forge_Frame object;
      lv2_atom_forge_object(&forge, &object, 0, map(LV2_TIME__Position));
      lv2_atom_forge_key(&forge, map(LV2_TIME__frame));
      lv2_atom_forge_long(&forge, int64_t(q.position));
      lv2_atom_forge_key(&forge, map(LV2_TIME__speed));
      lv2_atom_forge_float(&forge, q.playing ? 1.0f : 0.0f);
      if (q.beatsPerMinute > 0.0) {
        lv2_atom_forge_key(&forge, map(LV2_TIME__beatsPerMinute));
        lv2_atom_forge_float(&forge, float(q.beatsPerMinute));
        lv2_atom_forge_key(&forge, map(LV2_TIME__beatsPerBar));
        lv2_atom_forge_float(&forge, 4.0f);
        lv2_atom_forge_key(&forge, map(LV2_TIME__beatUnit));
        lv2_atom_forge_int(&forge, 4);
        lv2_atom_forge_key(&forge, map(LV2_TIME__bar));
        lv2_atom_forge_long(&forge, 0);
        lv2_atom_forge_key(&forge, map(LV2_TIME__barBeat));
        lv2_atom_forge_float(&forge, 0.0f);
      }
      lv2_atom_forge_pop(&forge, &object);
    } else {
      const std::string path(q.bytes.begin(), q.bytes.end());
      LV2_Atom_Forge_Frame object;
      lv2_atom_forge_object(&forge, &object, 0, map(LV2_PATCH__Set));
      lv2_atom_forge_key(&forge, map(LV2_PATCH__property));
      lv2_atom_forge_urid(&forge, map("urn:kylvander:synth#setup"));
      lv2_atom_forge_key(&forge, map(LV2_PATCH__value));
      lv2_atom_forge_path(&forge, path.c_str(), uint32_t(path.size() + 1));
      lv2_atom_forge_pop(&forge, &object);
    }
  }
  lv2_atom_forge_pop(&forge, &sequence);
  queued_.clear();

  auto* out = reinterpret_cast<LV2_Atom*>(outBuffer_.data());
  out->type = map(LV2_ATOM__Chunk);
  out->size = uint32_t(outBuffer_.size() - sizeof(LV2_Atom));
  lilv_instance_connect_port(instance_, audioLeft_, left);
  lilv_instance_connect_port(instance_, audioRight_, right);
  {
    const uint64_t before = allocation::count();
    allocation::Armed armed;
    lilv_instance_run(instance_, frames);
    allocationsInRun_ += allocation::count() - before;
  }
  ++runs_;

  // The worker's turn, as a host's worker thread takes it after the run.
  const auto* worker = static_cast<const LV2_Worker_Interface*>(
      lilv_instance_get_extension_data(instance_, LV2_WORKER__interface));
  size_t offset = 0;
  for (size_t i = 0; i < workCount_; ++i) {
    if (worker)
      worker->work(lilv_instance_get_handle(instance_), &Lv2Host::workRespond, this, workSizes_[i],
                   workSpace_.data() + offset);
    offset += workSizes_[i];
  }
  workUsed_ = workCount_ = 0;
  if (worker && worker->end_run) worker->end_run(lilv_instance_get_handle(instance_));
}

float Lv2Host::control(const char* symbol) const {
  for (const Port& p : ports_)
    if (p.symbol == symbol) return p.value;
  throw std::runtime_error(std::string("no port ") + symbol);
}

void Lv2Host::setControl(const char* symbol, float value) {
  for (Port& p : ports_)
    if (p.symbol == symbol && p.control && !p.output) {
      p.value = value;
      return;
    }
  throw std::runtime_error(std::string("no input port ") + symbol);
}

const void* Lv2Host::getPortValue(const char* symbol, void* self, uint32_t* size, uint32_t* type) {
  Lv2Host& host = *static_cast<Lv2Host*>(self);
  for (const Port& p : host.ports_)
    if (p.symbol == symbol && p.control && !p.output) {
      *size = sizeof(float);
      *type = host.map(LV2_ATOM__Float);
      return &p.value;
    }
  *size = *type = 0;
  return nullptr;
}

void Lv2Host::setPortValue(const char* symbol, void* self, const void* value, uint32_t size,
                           uint32_t type) {
  Lv2Host& host = *static_cast<Lv2Host*>(self);
  if (size != sizeof(float) || type != host.map(LV2_ATOM__Float)) return;
  for (Port& p : host.ports_)
    if (p.symbol == symbol && p.control && !p.output) std::memcpy(&p.value, value, sizeof(float));
}

std::string Lv2Host::saveState() {
  LilvState* state = lilv_state_new_from_instance(plugin_, instance_, &mapFeature_, nullptr, nullptr,
                                                  nullptr, nullptr, &Lv2Host::getPortValue, this,
                                                  LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE,
                                                  features_->list);
  char* text = lilv_state_to_string(world_, &mapFeature_, &unmapFeature_, state,
                                    "urn:kylvander:test-session", nullptr);
  std::string turtle = text ? text : "";
  lilv_free(text);
  lilv_state_free(state);
  return turtle;
}

void Lv2Host::restoreState(const std::string& turtle) {
  LilvState* state = lilv_state_new_from_string(world_, &mapFeature_, turtle.c_str());
  if (!state) throw std::runtime_error("the saved state does not read back");
  lilv_state_restore(state, instance_, &Lv2Host::setPortValue, this, 0, features_->list);
  lilv_state_free(state);
}
