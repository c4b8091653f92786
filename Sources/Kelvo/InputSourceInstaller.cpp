#include "InputSourceInstaller.hpp"

#include <algorithm>

namespace kelvo {
namespace {

// The bundle's path as a shell word.
std::string shellQuoted(const std::string& path) {
    std::string quoted = "'";
    for (char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

std::vector<std::string> InputSourceInstaller::findOwnSources() {
    std::vector<std::string> sources = registry_.installedSources();
    std::erase_if(sources, [&](const std::string& source) { return source != bundleIdentifier_; });
    return sources;
}

bool InputSourceInstaller::registerSource(bool enableSource) {
    int status = registry_.registerBundle(bundle_);
    if (status != 0) {
        out_ << "TISRegisterInputSource 失敗：" << status << "\n";
        return false;
    }
    out_ << "已註冊輸入來源：" << bundle_.string() << "\n";
    if (enableSource) enable();
    return true;
}

bool InputSourceInstaller::enable() {
    std::vector<std::string> sources = findOwnSources();
    if (sources.empty()) {
        out_ << "目前列表尚未找到Kelvo。請先重新開啟鍵盤設定，從繁體中文加入「Kelvo」；若仍未出現，再嘗試重新"
                "登入。\n";
        return false;
    }
    bool enabled = true;
    for (const std::string& source : sources) {
        int status = registry_.enable(source);
        if (status == 0) {
            out_ << "已啟用輸入來源\n";
        } else {
            out_ << "TISEnableInputSource：" << status
                 << "（請在鍵盤設定手動加入Kelvo；若仍未出現，可嘗試重新登入）\n";
            enabled = false;
        }
    }
    return enabled;
}

void InputSourceInstaller::disable() {
    // The lists are cleaned whether or not the registry still lists the source: an earlier removal
    // may have taken its component file already.
    std::vector<std::string> sources = findOwnSources();
    if (sources.empty()) sources.push_back(bundleIdentifier_);
    for (const std::string& source : sources) {
        int status = registry_.disable(source);
        if (status == 0)
            out_ << "已停用輸入來源\n";
        else
            out_ << "TISDisableInputSource：" << status << "\n";
    }
    if (int status = registry_.unregisterBundle(bundle_))
        out_ << "無法移除輸入來源註冊：" << status << "\n";
    else
        out_ << "已移除輸入來源註冊\n";
    // Nothing is deleted by the program itself; the hint names where the bundle really is.
    out_ << "如要完全移除：rm -rf " << shellQuoted(bundle_.string()) << "\n";
}

} // namespace kelvo
