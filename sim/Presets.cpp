#include "Presets.h"

#include "RecordGenerator.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace kestrix::sim {
namespace {

constexpr size_t kDefaultRecords = 500;

Scenario WithRecords(Scenario scenario, size_t count, uint64_t seed) {
    RecordGeneration generation;
    generation.seed = seed;
    generation.count = count;
    scenario.records = GenerateRecords(generation, scenario);
    return scenario;
}

std::vector<std::string> NumberedNames(size_t count) {
    std::vector<std::string> names(count);
    for (size_t j = 0; j < count; ++j) {
        const std::string number = std::to_string(j + 1);
        names[j] = "ROOM_" + std::string(3 - std::min<size_t>(3, number.size()), '0') + number;
    }
    return names;
}

Scenario Standard() {
    Scenario scenario = StandardScenario();
    scenario.locationNames = {"LOBBY", "CLEAN_1", "CLEAN_2", "GOWNING", "STORE"};
    return WithRecords(std::move(scenario), kDefaultRecords, 1);
}

Scenario IaqFast() {
    Scenario scenario = StandardScenario();
    scenario.identity.modelName = "Dastel 9304 IAQ";
    scenario.identity.modelType = "APC";
    scenario.identity.serial = 220417;
    scenario.identity.flowRateX100 = 10;
    scenario.identity.densityX1000 = 1650;
    scenario.identity.fastTransfer = true;
    scenario.locationNames = {"OFFICE", "HALL", "KITCHEN"};
    return WithRecords(std::move(scenario), 450, 2);
}

// Channel blocks in input registers, short records, no names.
Scenario Legacy137() {
    Scenario scenario = StandardScenario();
    scenario.identity.modelName = "Pirrow 32";
    scenario.identity.modelType = "APC";
    scenario.identity.serial = 7311;
    scenario.identity.mapVersion = 137;
    return WithRecords(std::move(scenario), 40, 3);
}

Scenario Empty() {
    Scenario scenario = StandardScenario();
    scenario.identity.serial = 5;
    return scenario;
}

Scenario Busy() {
    Scenario scenario = Standard();
    scenario.identity.busy = true;
    return scenario;
}

Scenario Names200() {
    Scenario scenario = StandardScenario();
    scenario.identity.serial = 200200;
    scenario.locationNames = NumberedNames(kMaxLocationNames);
    return WithRecords(std::move(scenario), 100, 4);
}

// The model family whose names carry the first character of each pair in the low byte.
Scenario SwappedNames() {
    Scenario scenario = StandardScenario();
    scenario.identity.modelName = "Velora 1100";
    scenario.identity.modelType = "APC";
    scenario.identity.serial = 250138;
    scenario.identity.instrumentCode = 250;
    scenario.identity.mapVersion = 138;
    scenario.locationNames = {"LOBBY", "LAB"};
    return WithRecords(std::move(scenario), 20, 5);
}

const std::vector<std::pair<std::string, std::function<Scenario()>>>& Presets() {
    static const std::vector<std::pair<std::string, std::function<Scenario()>>> presets = {
        {"standard", Standard},
        {"iaq-fast", IaqFast},
        {"legacy-137", Legacy137},
        {"empty", Empty},
        {"busy", Busy},
        {"names-200", Names200},
        {"swapped-names", SwappedNames},
    };
    return presets;
}

} // namespace

std::vector<std::string> PresetNames() {
    std::vector<std::string> names;
    for (const auto& preset : Presets()) {
        names.push_back(preset.first);
    }
    return names;
}

std::optional<Scenario> FindPreset(const std::string& name) {
    const auto& presets = Presets();
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [&](const auto& preset) { return preset.first == name; });
    if (found == presets.end()) {
        return std::nullopt;
    }
    return found->second();
}

} // namespace kestrix::sim
