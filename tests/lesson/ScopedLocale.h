// Switches the C library's character classes to another locale for the life of the object.
#pragma once

#include <clocale>
#include <initializer_list>
#include <string>

namespace lorvenna {

// The program runs in the user's locale (the application object adopts it), where the
// library's case folding may differ from the plain one: in Turkish locales 'I' does not
// lower to 'i'. active() is false when none of the names is installed on this machine.
class ScopedLocale {
public:
    explicit ScopedLocale(std::initializer_list<const char*> names)
        : previous_(std::setlocale(LC_CTYPE, nullptr)) {
        for (const char* name : names) {
            if (std::setlocale(LC_CTYPE, name)) {
                active_ = true;
                return;
            }
        }
    }
    ~ScopedLocale() { std::setlocale(LC_CTYPE, previous_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // The Turkish locale under its usual names.
    static ScopedLocale turkish() {
        return ScopedLocale({"tr_TR.UTF-8", "tr_TR.utf8", "tr_TR.ISO-8859-9", "tr_TR"});
    }

    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

} // namespace lorvenna
