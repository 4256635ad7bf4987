#include "StateDump.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

namespace kestrix::sim {

std::string StateJson(const Instrument& instrument) {
    nlohmann::json state;
    state["location_names"] = instrument.LocationNames();
    state["density_x1000"] = instrument.DensityX1000();
    state["busy"] = instrument.Busy();
    // Names may hold any byte a master wrote; replace what is not UTF-8 rather than fail.
    return state.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

bool WriteStateFile(const Instrument& instrument, const std::string& path, std::string& error) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << StateJson(instrument);
        file.flush();
        if (!file) {
            error = temporary + ": cannot be written";
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = path + ": cannot be replaced";
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace kestrix::sim
