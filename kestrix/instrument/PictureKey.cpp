#include "kestrix/instrument/PictureKey.h"

#include <algorithm>
#include <cctype>

namespace kestrix::instrument {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

class ModelName {
public:
    explicit ModelName(const std::string& name) : upper_(Upper(name)) {}
    // Words ignore letter case; digits compare exactly either way.
    bool Contains(const std::string& word) const {
        return upper_.find(Upper(word)) != std::string::npos;
    }
    bool EndsWith(const std::string& tail) const {
        return upper_.size() >= tail.size() &&
               upper_.compare(upper_.size() - tail.size(), tail.size(), tail) == 0;
    }

private:
    std::string upper_;
};

std::string VeloraKey(const ModelName& name) {
    if (name.Contains("110")) {
        return "velora_long";
    }
    return name.Contains("200") ? "velora_medium" : "velora_short";
}

std::string DastelKey(const ModelName& name) {
    if (name.Contains("110")) {
        return "dastel_7304";
    }
    if (name.EndsWith("4P")) {
        return "dastel_xxx4p";
    }
    if (name.EndsWith("4I")) {
        return "dastel_xxx4i";
    }
    return name.EndsWith("4") ? "dastel_xxx4" : "unknown";
}

} // namespace

std::string PictureKey(const std::string& modelName) {
    const ModelName name(modelName);
    if (name.Contains("TK") || name.Contains("trovik")) {
        return "trovik";
    }
    if (name.Contains("velora")) {
        return VeloraKey(name);
    }
    if (name.Contains("quennar")) {
        return "velora_short";
    }
    if (name.Contains("dastel")) {
        return DastelKey(name);
    }
    if (name.Contains("pirrow")) {
        return name.Contains("6pt") || name.Contains("mini") ? "pirrow_6" : "pirrow_32";
    }
    return "unknown";
}

} // namespace kestrix::instrument
