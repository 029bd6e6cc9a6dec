#include "radio/ConfigFileKeys.h"

namespace {

std::vector<ConfigKey> BuildFileOrder() {
    std::vector<ConfigKey> keys;
    for (Group group : {Group::Transmit, Group::Receive})
        for (int row = 0; row < 10; ++row) {
            ConfigKey key{(group == Group::Receive ? "RXChannel" : "Channel") + std::to_string(row),
                          ConfigKey::Kind::Frequency};
            key.group = group;
            key.row = row;
            keys.push_back(key);
        }
    auto position = [&keys](const char* text, ListField list) {
        ConfigKey key{text, ConfigKey::Kind::Position};
        key.list = list;
        keys.push_back(key);
    };
    auto textRow = [&keys](const char* text, TextField field) {
        ConfigKey key{text, ConfigKey::Kind::Text};
        key.field = field;
        keys.push_back(key);
    };
    position("ProtocolType", ListField::Protocol);
    position("CurrentChannel", ListField::CurrentChannel);
    position("PortBaudRate", ListField::PortBaudRate);
    position("LinkBaudRate", ListField::LinkBaudRate);
    position("workMode", ListField::WorkMode);
    textRow("SRC", TextField::Src);
    textRow("DST", TextField::Dst);
    position("HighPower", ListField::HighPower);
    position("LowPower", ListField::LowPower);
    return keys;
}

std::vector<const ConfigKey*> BuildSearchOrder() {
    const std::vector<ConfigKey>& keys = ConfigKeysInFileOrder();
    std::vector<const ConfigKey*> order;
    for (size_t i = 10; i < 20; ++i) order.push_back(&keys[i]);  // RXChannel0-9
    for (size_t i = 0; i < 10; ++i) order.push_back(&keys[i]);   // Channel0-9
    for (size_t i = 20; i < keys.size(); ++i) order.push_back(&keys[i]);
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
