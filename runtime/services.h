// The services that reach outside the program: message box, opening an address, keyboard focus.
#pragma once
#include <string>
#include <vector>

namespace scene {
class Element;
}

namespace rt {

// The application's title, which every message box carries.
inline constexpr const char* applicationTitle = "Rodelume";

// A modal box with the text, an OK button only and no icon; returns when the user closes it.
struct MessageBox {
    virtual ~MessageBox() = default;
    virtual void show(const std::string& utf8Text) = 0;
};

// Hands an address to the desktop's default program; the result is the desktop's to report.
struct OpenAddress {
    virtual ~OpenAddress() = default;
    virtual bool open(const std::string& address) = 0;
};

// Gives an element the keyboard focus; throws rt::RuntimeError when it cannot take it.
struct Focus {
    virtual ~Focus() = default;
    virtual void give(const scene::Element& element) = 0;
};

// Recorders for tests: they keep what would have been shown, opened or focused.
struct RecordedMessages : MessageBox {
    void show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

struct RecordedAddresses : OpenAddress {
    bool open(const std::string& address) override
    {
        opened.push_back(address);
        return succeed;
    }
    std::vector<std::string> opened;
    bool succeed = true;
};

struct RecordedFocus : Focus {
    void give(const scene::Element& element) override;
    std::vector<const scene::Element*> given;
    int refuseWith = 0; // a run-time error number to raise instead, or 0
};

} // namespace rt
