#include <nlohmann/json.hpp>

#include "cli/Fleet.h"

namespace {

const char* ActionName(CliAction action) {
    return action == CliAction::Read ? "read" : action == CliAction::Write ? "write" : "find";
}

// A text the radio reported; null when the radio was not read.
nlohmann::json Reported(bool read, const std::string& text) { return read ? nlohmann::json(text) : nullptr; }

}  // namespace

std::string ResultJson(const PortResult& r) {
    nlohmann::json differences = nlohmann::json::array();
    for (const VerifyMismatch& m : r.differences)
        differences.push_back({{"field", m.field}, {"written", m.written}, {"read", m.read}});
    const nlohmann::json object = {
        // A search of every port that found none has no port to name.
        {"port", r.port > 0 ? nlohmann::json(PortName(r.port)) : nlohmann::json(nullptr)},
        {"rate", r.rate},
        {"action", ActionName(r.action)},
        {"outcome", OutcomeName(r.code)},
        {"cause", r.cause.empty() ? nlohmann::json(OutcomeName(r.code)) : nlohmann::json(r.cause)},
        {"command", r.command.empty() ? nlohmann::json(nullptr) : nlohmann::json(r.command)},
        {"reply", r.command.empty() ? nlohmann::json(nullptr) : nlohmann::json(r.reply)},
        {"exitCode", static_cast<int>(r.code)},
        {"durationMs", r.durationMs},
        {"serialNumber", Reported(r.radioRead, r.serialNumber)},
        {"hardwareVersion", Reported(r.radioRead, r.hardwareVersion)},
        {"firmwareVersion", Reported(r.radioRead, r.firmwareVersion)},
        {"file", r.file.empty() ? nlohmann::json(nullptr) : nlohmann::json(r.file)},
        {"differences", differences},
        {"error", r.reason.empty() ? nlohmann::json(nullptr) : nlohmann::json(r.reason)},
    };
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
