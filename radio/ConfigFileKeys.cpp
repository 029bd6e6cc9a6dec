#include "radio/ConfigFileKeys.h"

#include <algorithm>

#include "radio/Parameters.h"

namespace {

std::vector<ConfigKey> BuildFileOrder() {
    std::vector<ConfigKey> keys;
    for (const Parameter* row : ProfileOrder()) {
        if (row->kind == ParameterKind::Frequencies) {
            for (int i = 0; i < kFrequencyRows; ++i) {
                ConfigKey key{row->profileKey + std::to_string(i), ConfigKey::Kind::Frequency};
                key.group = row->group;
                key.row = i;
                keys.push_back(key);
            }
        } else if (row->kind == ParameterKind::Text) {
            ConfigKey key{row->profileKey, ConfigKey::Kind::Text};
            key.field = row->field;
            keys.push_back(key);
        } else {
            ConfigKey key{row->profileKey, ConfigKey::Kind::Position};
            key.list = row->list;
            keys.push_back(key);
        }
    }
    return keys;
}

// How many other keys' texts a key holds: those it must be tested before.
size_t Holds(const ConfigKey& key, const std::vector<ConfigKey>& keys) {
    size_t held = 0;
    for (const ConfigKey& other : keys)
        if (&other != &key && key.text.find(other.text) != std::string::npos) ++held;
    return held;
}

std::vector<const ConfigKey*> BuildSearchOrder() {
    const std::vector<ConfigKey>& keys = ConfigKeysInFileOrder();
    std::vector<const ConfigKey*> order;
    for (const ConfigKey& key : keys) order.push_back(&key);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](const ConfigKey* a, const ConfigKey* b) { return Holds(*a, keys) > Holds(*b, keys); });
    return order;
}

}  // namespace

const std::vector<ConfigKey>& ConfigKeysInFileOrder() {
    static const std::vector<ConfigKey> keys = BuildFileOrder();
    return keys;
}

const std::vector<const ConfigKey*>& ConfigKeysInSearchOrder() {
    static const std::vector<const ConfigKey*> order = BuildSearchOrder();
    return order;
}

const ConfigKey* FindConfigKey(const std::string& field) {
    for (const ConfigKey* key : ConfigKeysInSearchOrder())
        if (field.find(key->text) != std::string::npos) return key;
    return nullptr;
}
