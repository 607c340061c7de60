#include "tools/quellpad-cfg/check_config.h"

#include <algorithm>
#include <cstring>

#include "config/config_file.h"
#include "config/vocabulary.h"
#include "tools/quellpad-cfg/config_names.h"
#include "tools/quellpad-cfg/toml_text.h"

namespace {

constexpr uint64_t kTableSize = kTableBytes;

std::string Bytes(uint64_t count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }

void CheckSize(uint64_t size, Findings& out)
{
    const std::string is = "file: " + std::to_string(size) + " bytes, not " + std::to_string(kConfigFileSize);
    if (size < kTableSize) {
        out.Add(is + "; the table needs " + std::to_string(kTableSize) +
                ", so the program says \"error reading file\" and turns every binding off");
        return;
    }
    if (size >= kConfigFileSize) return;  // what follows is read as chunks
    std::string missing;
    const uint64_t have = size - kTableSize;
    for (const SettingLayout& setting : kSettingLayout) {
        if (setting.offset + 4 <= size) continue;
        if (!missing.empty()) missing += ", ";
        missing += setting.name;
    }
    std::string text = is + "; the program keeps the initial value of " + missing;
    if (have % 4 != 0) {
        text += " (" + std::string(kSettingLayout[have / 4].name) + " takes only its low " + std::to_string(have % 4) +
                " byte" + (have % 4 == 1 ? "" : "s") + " from the file)";
    }
    out.Add(text);
}

void CheckBinding(const std::string& name, const ActionRecord& r, Findings& out)
{
    for (const BindingField& field : kBindingFields) {
        if (field.kind != FieldKind::Flag) continue;
        const int32_t value = r.*field.member;
        if (value == 0 || value == 1) continue;
        const char* effect = FlagCounts(field, value) ? "counts as on" : "counts as off";
        out.Add(name + "." + field.name + ": " + std::to_string(value) + " is neither 0 nor 1 (" + effect + ")");
    }
    // 0 and -1 are what the editor leaves when no entry was chosen; they only
    // matter when the binding would send them.
    const bool keyUnset = (r.keyCode == 0 || r.keyCode == -1) && r.sendKey != 1;
    if (FindKeyChoice(r.keyCode) == nullptr && !keyUnset) {
        out.Add(name + ".keyCode: " + std::to_string(r.keyCode) + " is no key in the vocabulary (virtual key " +
                std::to_string(uint32_t(r.keyCode) & 0xFF) + " would be sent)");
    }
    const bool mouseUnset = r.mouseAction == -1 && r.sendMouse != 1;
    if (FindMouseChoice(r.mouseAction) == nullptr && !mouseUnset) {
        out.Add(name + ".mouseAction: " + std::to_string(r.mouseAction) +
                " is no mouse action in the vocabulary (it does nothing)");
    }
    if (!HasTerminator(r)) {
        out.Add(name + ".text: " + QuoteBytes(TextBytes(r)) + " has no terminator within its " +
                std::to_string(kTextSize) + " bytes");
    }
}

uint32_t LittleEndian32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
    return value;
}

// The port sources the program cannot use: a byte past 4 names no source.
void CheckPadSources(const std::string& chunk, const std::string& payload, Findings& out)
{
    for (int port = 0; port < kPortCount; ++port) {
        const uint8_t source = uint8_t(payload[size_t(port)]);
        if (source <= kMaxPadSource) continue;
        out.Add(chunk + " gives " + PortName(port) + " the source " + std::to_string(source) +
                ", which is none; the program reads the driver there");
    }
}

// The first chunk of a known tag, of its length: what the program cannot
// use in it, and whether the writer would write it at all.
void CheckPayload(const FileChunk& known, const std::string& chunk, const std::string& payload, Findings& out)
{
    Configuration read;
    known.clear(read);
    EntryMarks marks = {};
    const auto* bytes = reinterpret_cast<const uint8_t*>(payload.data());
    if (known.entries) {
        for (size_t at = 0; at < payload.size(); at += known.length) {
            if (known.read(bytes + at, read, marks)) continue;
            const std::string entry = chunk + ", entry " + std::to_string(at / known.length + 1);
            if (const char* fault = BehaviourEntryFault(bytes + at)) {
                out.Add(entry + " (" + HexText(payload.substr(at, known.length)) + "): " + fault +
                        "; the program ignores the entry");
            } else {
                out.Add(entry + " comes after another entry for " + BindingName(bytes[at], bytes[at + 1], bytes[at + 2]) +
                        "; the program ignores it");
            }
        }
    } else if (!known.read(bytes, read, marks) && std::memcmp(known.tag, "PADS", kChunkTagSize) == 0) {
        CheckPadSources(chunk, payload, out);
    }
    if (known.empty != nullptr && !known.written(read)) {
        out.Add(chunk + " " + known.empty + "; the program writes no chunk then");
    }
}

// The chunks after the settings, walked as the program's reader walks them:
// each tag's first chunk wherever it sits, later ones of the same tag and
// unknown ones passed over by their length, stopping at one that the file
// cuts short.
void CheckChunks(const std::string& tail, Findings& out)
{
    bool seen[kFileChunkCount] = {};
    size_t at = 0;
    while (at < tail.size()) {
        const size_t left = tail.size() - at;
        if (left < kChunkHeaderSize) {
            out.Add("file: " + Bytes(left) + " from byte " + std::to_string(kConfigFileSize + at) +
                    " cannot hold a chunk's header; the program reads no chunk there");
            return;
        }
        const std::string tag = tail.substr(at, kChunkTagSize);
        const FileChunk* known = FindFileChunk(tag.data());
        const bool first = known != nullptr && !seen[known - kFileChunks];
        if (known != nullptr) seen[known - kFileChunks] = true;
        const uint64_t length = LittleEndian32(tail, at + kChunkTagSize);
        const size_t next = at + kChunkHeaderSize + size_t(std::min<uint64_t>(length, left - kChunkHeaderSize));
        // A chunk passed over, once twenty findings are made, is only counted.
        if (out.Full() && length <= left - kChunkHeaderSize && !first) {
            ++out.more;
            at = next;
            continue;
        }
        const std::string chunk = "chunk " + QuoteBytes(tag) + " at byte " + std::to_string(kConfigFileSize + at);
        if (length > left - kChunkHeaderSize) {
            out.Add(chunk + " says " + Bytes(length) + ", but the file ends " + Bytes(left - kChunkHeaderSize) +
                    " after its header; the program ignores it" + (first ? std::string(" and ") + known->without : ""));
            return;
        }
        if (first && known->entries && length % known->length != 0) {
            out.Add(chunk + " holds " + Bytes(length) + ", not a multiple of " + std::to_string(known->length) +
                    "; the program " + known->without);
        } else if (first && !known->entries && length != known->length) {
            out.Add(chunk + " holds " + Bytes(length) + ", not " + std::to_string(known->length) + "; the program " +
                    known->without);
        } else if (first) {
            CheckPayload(*known, chunk, tail.substr(at + kChunkHeaderSize, length), out);
        } else if (known != nullptr) {
            out.Add(chunk + " comes after another " + QuoteBytes(tag) + " chunk; the program ignores it");
        } else {
            out.Add(chunk + " (" + Bytes(length) + ") is unknown to the program, which passes over it");
        }
        at = next;
    }
}

// Whether layer 1..7 holds any binding byte or behaviour.
bool LayerUsed(const Configuration& config, int layer)
{
    static const ActionRecord zero = {};
    for (int port = 0; port < kPortCount; ++port) {
        for (int slot = 0; slot < kAllSlotCount; ++slot) {
            if (std::memcmp(&config.layers[layer - 1][port][slot], &zero, sizeof zero) != 0) return true;
            if (BehaviourSet(config.behaviour[layer][port][slot])) return true;
        }
    }
    return false;
}

// Layer keys that cannot do what they say, and layers no key turns on: from
// the base, a key reaches its target, and a key in a layer reached does too.
void CheckLayerKeys(const Configuration& config, Findings& out)
{
    bool reached[kLayerCount + 1] = {true};
    for (int round = 0; round < kLayerCount; ++round) {
        for (int layer = 0; layer <= kLayerCount; ++layer) {
            for (int port = 0; reached[layer] && port < kPortCount; ++port) {
                for (const SlotBehaviour& b : config.behaviour[layer][port]) {
                    if (b.layerAction != LAYER_ACTION_NONE && b.layerTarget <= kLayerCount) reached[b.layerTarget] = true;
                }
            }
        }
    }
    for (int layer = 0; layer <= kLayerCount; ++layer) {
        for (int port = 0; port < kPortCount; ++port) {
            for (int slot = 0; slot < kAllSlotCount; ++slot) {
                const SlotBehaviour& b = config.behaviour[layer][port][slot];
                if (b.layerAction == LAYER_ACTION_NONE) continue;
                const std::string name = BindingName(layer, port, slot);
                if (b.turbo != 0) {
                    out.Add(name + "." + kTurboKey + ": " + std::to_string(b.turbo) +
                            ", but turbo on a layer key is ignored");
                }
                if (b.layerTarget == layer) {
                    out.Add(name + "." + kLayerTargetKey + ": " + std::to_string(layer) +
                            " is the layer the key sits in, which is on whenever the key acts");
                }
            }
        }
    }
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        if (!reached[layer] && LayerUsed(config, layer)) {
            out.Add(LayerName(layer) + ": no layer key of the base or of a layer it turns on reaches it (a warning: "
                                       "its bindings never act)");
        }
    }
}

}  // namespace

Findings CheckConfig(const ConfigImage& image, uint64_t size)
{
    Findings out;
    CheckSize(size, out);
    for (const SettingField* setting : kSettingFields) {
        const SettingField& field = *setting;
        const int32_t value = image.settings.*field.member;
        if (value >= field.low && value <= field.high) continue;
        const std::string range = field.isSwitch ? " is neither 0 nor 1"
                                                 : " is outside " + std::to_string(field.low) + " to " +
                                                       std::to_string(field.high) + ", the range the editor keeps";
        out.Add(std::string(field.name) + ": " + std::to_string(value) + range);
    }
    for (int layer = 0; layer <= kLayerCount; ++layer) {
        for (int port = 0; port < kPortCount; ++port) {
            for (int slot = 0; slot < kAllSlotCount; ++slot) {
                CheckBinding(BindingName(layer, port, slot), LayerBinding(image, layer, port, slot), out);
            }
        }
    }
    CheckLayerKeys(image, out);
    if (size > kConfigFileSize) {
        CheckChunks((image.chunksInFileTail ? std::string() : WrittenChunks(image)) + image.fileTail, out);
    }
    return out;
}
