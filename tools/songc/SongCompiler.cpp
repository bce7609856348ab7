#include "songc/SongCompiler.h"

#include <cctype>
#include <map>
#include <set>
#include <string>

#include "songc/ModuleFields.h"
#include "songc/PatternRows.h"
#include "songc/Settings.h"
#include "songc/Values.h"
#include "synth/Parameterized.h"
#include "synth/SongWriter.h"

namespace {

// The oscillator stands in no family's registry: a voice's list of them has
// no type bytes.
constexpr const char* kOscillatorKeyword = "oscillator";

// A statement that only stands at the top level: met inside a block, it most
// likely means an "end" is missing.
std::string missingEndHint(const std::string& keyword) {
  for (const char* top : {"song", "controller", "bus", "channel", "phrase", "pattern", "order"})
    if (keyword == top) return " (is an 'end' missing above?)";
  return "";
}

bool isName(const std::string& word) {
  if (word.empty() || std::isdigit(static_cast<unsigned char>(word[0]))) return false;
  for (char c : word)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

// The song header's settings (Parameter.h); `length` is the compiler's own:
// the order lists' length.
template <class Visit>
void describeHeader(Visit&& visit, Song& song, long& length) {
  visit(param::integer("tempo", 1, 255), song.tempo);
  visit(param::integer("speed", 1, 255), song.speed);
  visit(param::integer("stepLength", 1, 255), song.stepLength);
  visit(param::integer("reserved", 0, 255), song.reserved);
  visit(param::integer("length", 1, 65535, 2), length);
}

// "a, b, c" ending in " and d" or " or d", for messages that list words.
std::string listed(const std::vector<std::string>& words, const char* lastJoin) {
  std::string out;
  for (size_t i = 0; i < words.size(); ++i)
    out += (i == 0 ? "" : i + 1 == words.size() ? lastJoin : ", ") + words[i];
  return out;
}

template <class Family>
void addKeywords(std::vector<std::string>& words, const ModuleKinds<Family>& kinds,
                 const char* quote = "") {
  for (const ModuleKind<Family>& kind : kinds)
    words.push_back(quote + std::string(kind.keyword) + quote);
}

// Rows of a phrase or pattern as the source gave them.
struct RowBlock {
  std::vector<PatternRow> rows;
};

// One pass over the statements, building the Synth and the Song as it goes;
// names must be declared before they are used.
class Compiler {
 public:
  explicit Compiler(const SourceText& source) : lines_(source.lines()) {}

  CompiledSong run() {
    out_.synth = std::make_unique<Synth>();
    out_.song = std::make_unique<Song>();
    while (at_ < lines_.size()) topLevel(lines_[at_++]);
    finishOrders();
    for (auto& channel : out_.synth->channels) channel->copyFirstVoices();
    out_.image = writeSongFile(*out_.synth, *out_.song);
    return std::move(out_);
  }

 private:
  // The statements of a block up to its "end" (consumed); fails at the
  // block's opening line when the file ends first.
  template <class Handle>
  void block(const SourceLine& opening, Handle handle) {
    while (true) {
      if (at_ >= lines_.size()) opening.fail("'" + opening.words[0] + "' is not closed by 'end'");
      const SourceLine& line = lines_[at_++];
      if (line.words[0] == "end") {
        if (line.words.size() > 1) line.failAt(1, "nothing may follow 'end'");
        return;
      }
      handle(line);
    }
  }

  void topLevel(const SourceLine& line) {
    const std::string& keyword = line.words[0];
    if (keyword == "song") return songHeader(line);
    if (keyword == "controller") return controller(line);
    if (keyword == "bus") return bus(line);
    if (keyword == "channel") return channel(line);
    if (keyword == "phrase") return phrase(line);
    if (keyword == "pattern") return pattern(line);
    if (keyword == "order") return order(line);
    if (keyword == "end") line.fail("'end' without a block to close");
    line.fail("unknown statement '" + keyword +
              "' (expected song, controller, bus, channel, phrase, pattern or order)");
  }

  void songHeader(const SourceLine& line) {
    if (headerSeen_) line.fail("the song header is given twice");
    headerSeen_ = true;
    Song& song = *out_.song;
    applySettings([&](auto& visit) { describeHeader(visit, song, declaredLength_); },
                  settingsOf(line, 1), names(), "song");
    song.ticksPerStep = uint16_t(16 * song.stepLength);
  }

  // Sets a module from the settings of a statement, from word `first` on,
  // and refuses settings the module cannot play as given.
  void setModule(SynthModule& module, const SourceLine& line, size_t first, const NameScope& scope,
                 const std::string& keyword) {
    applySettings(fieldsOf(module), settingsOf(line, first), scope, keyword);
    const std::string problem = module.settingsProblem();
    if (!problem.empty()) line.fail("a " + keyword + "'s " + problem);
  }

  void controller(const SourceLine& line) {
    if (line.words.size() != 3) line.fail("expected 'controller NAME NUMBER'");
    const std::string& name = line.words[1];
    if (!isName(name)) line.failAt(1, "'" + name + "' is not a name (letters, digits, '_')");
    if (controllers_.count(name)) line.failAt(1, "controller '" + name + "' is declared twice");
    auto number = parseInteger(line.words[2]);
    if (!number || *number < 1 || *number > 254)
      line.failAt(2, "a controller number is 1 to 254 (255 is the speed command)");
    controllers_[name] = int(*number);
  }

  NameScope names(const std::map<std::string, int>* modulators = nullptr) const {
    return NameScope{modulators, &controllers_};
  }

  long indexWord(const SourceLine& line, size_t word, long min, long max, const char* what) {
    if (word >= line.words.size()) line.fail(std::string("expected ") + what);
    auto value = parseInteger(line.words[word]);
    if (!value || *value < min || *value > max)
      line.failAt(word, std::string(what) + " must be from " + std::to_string(min) + " to " +
                            std::to_string(max) + ", found '" + line.words[word] + "'");
    return *value;
  }

  void bus(const SourceLine& line) {
    int index = int(indexWord(line, 1, 1, 3, "a bus number")) - 1;
    if (line.words.size() > 2) line.failAt(2, "expected 'bus NUMBER'");
    if (!busesSeen_.insert(index).second) line.fail("bus " + std::to_string(index + 1) + " is given twice");
    EffectChain& chain = *out_.synth->buses[index];
    for (auto& slot : chain.slots) slot.reset();
    int slot = 0;
    block(line, [&](const SourceLine& entry) {
      const std::string& kind = entry.words[0];
      if (slot >= EffectChain::kSlots)
        entry.fail("a bus has " + std::to_string(EffectChain::kSlots) + " slots");
      if (kind == "empty") {
        if (entry.words.size() > 1) entry.failAt(1, "an empty slot has no settings");
      } else if (const ModuleKind<SendEffect>* found = sendEffectKinds().find(kind.c_str())) {
        SendEffect& effect = *chain.fill(slot, found->type);
        setModule(effect, entry, 1, names(), kind);
        effect.update();
      } else {
        std::vector<std::string> words;
        addKeywords(words, sendEffectKinds(), "'");
        words.push_back("'empty'");
        entry.fail("a bus slot is " + listed(words, " or ") + ", not '" + kind + "'" +
                   missingEndHint(kind));
      }
      ++slot;
    });
  }

  void channel(const SourceLine& line) {
    int index = int(indexWord(line, 1, 0, Synth::kChannels - 1, "a channel number"));
    if (!channelsSeen_.insert(index).second)
      line.fail("channel " + std::to_string(index) + " is given twice");
    size_t first = 2;
    if (line.words.size() > 2 && !isSetting(line.words[2])) {
      const std::string& name = line.words[2];
      if (!isName(name)) line.failAt(2, "'" + name + "' is not a name (letters, digits, '_')");
      if (channelNames_.count(name)) line.failAt(2, "channel name '" + name + "' is used twice");
      channelNames_[name] = index;
      first = 3;
    }
    Synth& synth = *out_.synth;
    applySettings([&](auto& visit) { Synth::describeStrip(visit, index, synth); },
                  settingsOf(line, first), names(), "channel");

    SynthChannel& channel = *synth.channels[index];
    channel.clearLayers();
    channel.insertPresent = false;
    bool insertSeen = false;
    block(line, [&](const SourceLine& entry) {
      const std::string& kind = entry.words[0];
      if (kind == "insert") {
        if (insertSeen) entry.fail("a channel has one insert");
        insertSeen = true;
        channel.insertPresent = true;
        const char* keyword = voiceEffectKinds().find(Waveshaper::kType)->keyword;
        setModule(channel.insert, entry, 1, names(), keyword);
      } else if (kind == "layer") {
        if (channel.layerCount >= SynthChannel::kMaxLayers)
          entry.fail("a channel has at most " + std::to_string(SynthChannel::kMaxLayers) +
                     " layers");
        layer(entry, channel);
      } else {
        entry.fail("a channel holds 'insert' and 'layer' blocks, not '" + kind + "'" + missingEndHint(kind));
      }
    });
    if (channel.layerCount == 0) line.fail("channel " + std::to_string(index) + " has no layer");
  }

  // The voice template of a layer: the layer line gives the polyphony and key
  // range, the block the voice's modules.
  void layer(const SourceLine& line, SynthChannel& channel) {
    uint8_t voices = SynthChannel::kDefaultVoices;
    Voice keys;
    applySettings([&](auto& visit) { SynthChannel::describeLayer(visit, voices, keys); },
                  settingsOf(line, 1), names(), "layer");
    uint32_t total = voices;
    for (const auto& ch : out_.synth->channels)
      for (uint8_t count : ch->voiceCount) total += count;
    if (total > SynthChannel::kMaxLoadedVoices)
      line.fail("the song's layers ask for more than " +
                std::to_string(SynthChannel::kMaxLoadedVoices) + " voices in all");
    Voice& voice = *channel.addLayer(voices);
    Voice::describe(ParameterCopier{}, voice, keys);
    voice.effects.clear();
    voice.oscillators.clear();

    std::map<std::string, int> labels;
    int modulators = 0;
    auto label = [&](const SourceLine& entry, int index) -> size_t {
      if (entry.words.size() < 2 || isSetting(entry.words[1])) return 1;
      const std::string& name = entry.words[1];
      if (!isName(name)) entry.failAt(1, "'" + name + "' is not a label (letters, digits, '_')");
      if (labels.count(name)) entry.failAt(1, "label '" + name + "' is used twice in this voice");
      labels[name] = index;
      return 2;
    };
    auto modulator = [&](const SourceLine& entry, uint32_t type) -> Modulator& {
      if (modulators == 0 && type != moduleType::kEnvelope)
        entry.fail("the first modulator of a voice must be its amplitude envelope");
      if (modulators >= Voice::kMaxModulators)
        entry.fail("a voice has at most " + std::to_string(Voice::kMaxModulators) + " modulators");
      Modulator& m = modulators == 0 ? *voice.modulators[0] : *voice.addModulator(type);
      ++modulators;
      return m;
    };

    block(line, [&](const SourceLine& entry) {
      const std::string& kind = entry.words[0];
      if (const ModuleKind<Modulator>* found = modulatorKinds().find(kind.c_str())) {
        size_t first = label(entry, modulators);
        setModule(modulator(entry, found->type), entry, first, names(&labels), kind);
      } else if (kind == kOscillatorKeyword) {
        if (voice.oscillators.size() >= size_t(Voice::kMaxOscillators))
          entry.fail("a voice has at most " + std::to_string(Voice::kMaxOscillators) +
                     " oscillators");
        setModule(voice.addOscillator(), entry, 1, names(&labels), kind);
      } else if (const ModuleKind<VoiceEffect>* found = voiceEffectKinds().find(kind.c_str())) {
        if (voice.effects.size() >= size_t(Voice::kMaxEffects))
          entry.fail("a voice has at most " + std::to_string(Voice::kMaxEffects) + " effects");
        setModule(*voice.addEffect(found->type), entry, 1, names(&labels), kind);
      } else {
        std::vector<std::string> words;
        addKeywords(words, modulatorKinds());
        words.push_back(kOscillatorKeyword);
        addKeywords(words, voiceEffectKinds());
        entry.fail("a layer holds " + listed(words, " and ") + " lines, not '" + kind + "'" +
                   missingEndHint(kind));
      }
    });
    if (modulators == 0) line.fail("a voice needs its amplitude envelope");
    if (voice.oscillators.empty()) line.fail("a voice needs at least one oscillator");
  }

  uint8_t velocitySetting(const SourceLine& line, size_t first, long* rowCount, long* slot) {
    long velocity = 0xFF;
    std::map<std::string, bool> seen;
    for (const Setting& s : settingsOf(line, first)) {
      if (seen[s.key]) s.fail("set twice");
      seen[s.key] = true;
      if (s.key == "velocity") velocity = s.integer(1, 255);
      else if (s.key == "rows" && rowCount) *rowCount = s.integer(1, 65535);
      else if (s.key == "slot" && slot) *slot = s.integer(1, 254);
      else s.fail(rowCount ? "a pattern has rows, slot and velocity" : "a phrase has velocity");
    }
    return uint8_t(velocity);
  }

  std::string newBlockName(const SourceLine& line) {
    if (line.words.size() < 2 || !isName(line.words[1]))
      line.fail("expected '" + line.words[0] + " NAME' (letters, digits, '_')");
    const std::string& name = line.words[1];
    if (phrases_.count(name) || patternSlots_.count(name))
      line.failAt(1, "'" + name + "' is already a phrase or pattern");
    return name;
  }

  // Rows and "use" lines of a phrase or pattern block.
  RowBlock rows(const SourceLine& opening, uint8_t velocity) {
    RowBlock result;
    block(opening, [&](const SourceLine& entry) {
      if (entry.words[0] == "use") {
        if (entry.words.size() < 2) entry.fail("expected 'use PHRASE...'");
        for (size_t i = 1; i < entry.words.size(); ++i) usePhrase(entry, i, result.rows);
      } else if (isRowLine(entry)) {
        if (result.rows.size() >= 65535) entry.fail("more than 65535 rows");
        result.rows.push_back(parseRow(entry, velocity));
      } else {
        entry.fail("expected a row (NOTE VELOCITY COMMAND ARGUMENT | ...) or 'use', found '" +
                   entry.words[0] + "'" + missingEndHint(entry.words[0]));
      }
    });
    return result;
  }

  // "NAME", "NAME+5", "NAME-12", "NAME*4", "NAME+5*2".
  void usePhrase(const SourceLine& line, size_t word, std::vector<PatternRow>& rows) {
    std::string text = line.words[word];
    long times = 1, semitones = 0;
    size_t star = text.find('*');
    if (star != std::string::npos) {
      auto n = parseInteger(text.substr(star + 1));
      if (!n || *n < 1 || *n > 256) line.failAt(word, "a repeat count after '*' is 1 to 256");
      times = *n;
      text = text.substr(0, star);
    }
    size_t sign = text.find_first_of("+-");
    if (sign != std::string::npos) {
      auto n = parseInteger(text.substr(sign));
      if (!n) line.failAt(word, "a transpose after the phrase name is +N or -N semitones");
      semitones = *n;
      text = text.substr(0, sign);
    }
    auto found = phrases_.find(text);
    if (found == phrases_.end()) line.failAt(word, "no phrase is named '" + text + "' (phrases come before their use)");
    // No phrase or pattern can use more rows than a pattern holds; checked
    // before copying, so that nested repeats cannot blow up.
    if (rows.size() + found->second.rows.size() * size_t(times) > 65535)
      line.failAt(word, "more than 65535 rows");
    std::vector<PatternRow> piece = found->second.rows;
    if (semitones) transposeRows(piece, int(semitones), line);
    for (long k = 0; k < times; ++k) rows.insert(rows.end(), piece.begin(), piece.end());
  }

  void phrase(const SourceLine& line) {
    std::string name = newBlockName(line);
    uint8_t velocity = velocitySetting(line, 2, nullptr, nullptr);
    RowBlock block = rows(line, velocity);
    if (block.rows.empty()) line.fail("phrase '" + name + "' has no rows");
    phrases_[name] = std::move(block);
  }

  void pattern(const SourceLine& line) {
    std::string name = newBlockName(line);
    long rowCount = 0, slot = 0;
    uint8_t velocity = velocitySetting(line, 2, &rowCount, &slot);
    if (slot == 0) {
      while (slotsUsed_.count(nextSlot_)) ++nextSlot_;
      if (nextSlot_ > 254) line.fail("all 254 pattern slots are used");
      slot = nextSlot_;
    }
    if (!slotsUsed_.insert(int(slot)).second)
      line.fail("pattern slot " + std::to_string(slot) + " is used twice");
    RowBlock block = rows(line, velocity);
    if (rowCount == 0) rowCount = long(block.rows.size());
    if (rowCount == 0) line.fail("pattern '" + name + "' has no rows");
    if (long(block.rows.size()) > rowCount)
      line.fail("pattern '" + name + "' has " + std::to_string(block.rows.size()) + " rows, more than rows=" +
                std::to_string(rowCount));
    if (rowCount > 65535) line.fail("a pattern has at most 65535 rows");
    Pattern& target = out_.song->patterns[size_t(slot)];
    target.resize(uint16_t(rowCount));
    for (size_t r = 0; r < block.rows.size(); ++r) target.rows[r] = block.rows[r];
    patternSlots_[name] = int(slot);
  }

  int channelWord(const SourceLine& line, size_t word) {
    if (word >= line.words.size()) line.fail("expected a channel name or number");
    auto named = channelNames_.find(line.words[word]);
    if (named != channelNames_.end()) return named->second;
    auto number = parseInteger(line.words[word]);
    if (!number || *number < 0 || *number >= Synth::kChannels)
      line.failAt(word, "'" + line.words[word] + "' is no channel name nor a channel number 0 to 15");
    return int(*number);
  }

  // "CONTROLLER:FROM..TO"
  ControllerSlide slide(const Setting& s) {
    size_t colon = s.value.find(':');
    size_t dots = s.value.find("..");
    if (colon == std::string::npos || dots == std::string::npos || dots < colon)
      s.fail("a slide is CONTROLLER:FROM..TO");
    Setting controllerPart = s;
    controllerPart.value = s.value.substr(0, colon);
    auto from = parseInteger(s.value.substr(colon + 1, dots - colon - 1));
    auto to = parseInteger(s.value.substr(dots + 2));
    if (!from || !to || *from < 0 || *from > 255 || *to < 0 || *to > 255)
      s.fail("slide values are 0 to 255");
    return ControllerSlide{uint8_t(controllerPart.controller(names())), uint8_t(*from), uint8_t(*to)};
  }

  void order(const SourceLine& line) {
    int channel = channelWord(line, 1);
    if (line.words.size() > 2) line.failAt(2, "expected 'order CHANNEL'");
    if (!ordersSeen_.insert(channel).second)
      line.fail("the order list of channel " + std::to_string(channel) + " is given twice");
    std::map<long, OrderStep>& steps = orders_[channel];
    block(line, [&](const SourceLine& entry) {
      // POSITION or FIRST..LAST
      const std::string& where = entry.words[0];
      size_t dots = where.find("..");
      auto first = parseInteger(where.substr(0, dots));
      auto last = dots == std::string::npos ? first : parseInteger(where.substr(dots + 2));
      if (!first || !last || *first < 0 || *last < *first || *last > 65534)
        entry.failAt(0, "expected an order position or FIRST..LAST, found '" + where + "'" + missingEndHint(where));
      if (entry.words.size() < 2) entry.fail("expected the pattern (a name, or '-' for none)");
      OrderStep step{};
      const std::string& patternWord = entry.words[1];
      if (patternWord != "-") {
        auto found = patternSlots_.find(patternWord);
        if (found == patternSlots_.end())
          entry.failAt(1, "no pattern is named '" + patternWord + "' (patterns come before the order lists)");
        step.pattern = uint8_t(found->second);
      }
      int slides = 0;
      bool transposeSeen = false, spareSeen = false;
      for (size_t i = 2; i < entry.words.size(); ++i) {
        const std::string& word = entry.words[i];
        if (!isSetting(word)) {
          auto semitones = (word[0] == '+' || word[0] == '-') ? parseInteger(word) : std::nullopt;
          if (!semitones) entry.failAt(i, "expected +N/-N (transpose) or key=value, found '" + word + "'");
          if (transposeSeen) entry.failAt(i, "the transpose is given twice");
          if (*semitones < -128 || *semitones > 127) entry.failAt(i, "a transpose is -128 to 127");
          transposeSeen = true;
          step.transpose = int8_t(*semitones);
          continue;
        }
        size_t eq = word.find('=');
        Setting s{word.substr(0, eq), word.substr(eq + 1), &entry, i};
        if (s.key == "slide") {
          if (slides == 2) s.fail("an order step has two slides");
          (slides++ == 0 ? step.slideA : step.slideB) = slide(s);
        } else if (s.key == "transpose") {
          if (transposeSeen) s.fail("the transpose is given twice");
          transposeSeen = true;
          step.transpose = int8_t(s.integer(-128, 127));
        } else if (s.key == "spare") {
          if (spareSeen) s.fail("set twice");
          spareSeen = true;
          step.spare = uint8_t(s.integer(0, 255));
        } else {
          s.fail("an order step has +N/-N, transpose, slide and spare");
        }
      }
      for (long p = *first; p <= *last; ++p) {
        if (steps.count(p)) entry.failAt(0, "order position " + std::to_string(p) + " is given twice");
        steps[p] = step;
        lineOfStep_[{channel, p}] = &entry;
      }
    });
  }

  void finishOrders() {
    long length = declaredLength_;
    for (auto& [channel, steps] : orders_) {
      if (steps.empty()) continue;
      long last = steps.rbegin()->first;
      if (declaredLength_ && last >= declaredLength_)
        lineOfStep_.at({channel, last})
            ->fail("order position " + std::to_string(last) + " is beyond the song's length=" +
                   std::to_string(declaredLength_));
      if (last + 1 > length) length = last + 1;
    }
    if (length == 0) return;
    // Every list gets the song's length, the silent ones too: the loader
    // pads lists to the longest, so only equal lengths read back unchanged.
    for (OrderList& list : out_.song->orderLists) list.resize(uint16_t(length));
    for (auto& [channel, steps] : orders_) {
      OrderList& list = out_.song->orderLists[size_t(channel)];
      for (auto& [position, step] : steps) list.steps[size_t(position)] = step;
    }
  }

  const std::vector<SourceLine>& lines_;
  size_t at_ = 0;
  CompiledSong out_;
  bool headerSeen_ = false;
  long declaredLength_ = 0;
  std::map<std::string, int> controllers_;
  std::map<std::string, int> channelNames_;
  std::map<std::string, RowBlock> phrases_;
  std::map<std::string, int> patternSlots_;
  std::set<int> slotsUsed_;
  int nextSlot_ = 1;
  std::set<int> busesSeen_, channelsSeen_, ordersSeen_;
  std::map<int, std::map<long, OrderStep>> orders_;
  std::map<std::pair<int, long>, const SourceLine*> lineOfStep_;
};

}  // namespace

CompiledSong compileSong(const SourceText& source) { return Compiler(source).run(); }
