// The XML parser object the program keeps for its whole run: made before the main window,
// released at exit. The update check loads the manifest into it.
#pragma once

#include <string>

namespace update {

class XmlParserObject {
public:
    bool Loaded() const { return loaded_; }
    void Load(std::string document) {
        document_ = std::move(document);
        loaded_ = true;
    }
    void Release() {
        document_.clear();
        loaded_ = false;
    }
    const std::string& Document() const { return document_; }

private:
    bool loaded_ = false;
    std::string document_;
};

}  // namespace update
