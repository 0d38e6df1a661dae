// Why reading or checking outside data failed, handed back as a value: the message as the
// player words it, the file and the line.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace lorvenna {

struct Diagnostic {
    std::string message;
    std::string file; // the program's name of the file ("LSNS\01-02.LSN"); empty when unknown
    long line = 0;    // 1-based; 0 when no line can be named
};

// The outcome of a step that reads or checks outside data: success, or the diagnostic of its
// failure. It tests true on success, so a caller reads as it would a bool.
class [[nodiscard]] Status {
public:
    Status() = default;
    Status(Diagnostic diagnostic) : diagnostic_(std::move(diagnostic)) {}

    explicit operator bool() const { return !diagnostic_; }
    bool failed() const { return diagnostic_.has_value(); }

    // Only of a failure.
    const Diagnostic& diagnostic() const {
        assert(diagnostic_);
        return *diagnostic_;
    }
    Diagnostic& diagnostic() {
        assert(diagnostic_);
        return *diagnostic_;
    }
    // The failure's message; empty on success (and for a failure that has no words of its own).
    const std::string& message() const {
        static const std::string none;
        return diagnostic_ ? diagnostic_->message : none;
    }

private:
    std::optional<Diagnostic> diagnostic_;
};

inline Status failure(std::string message) {
    return Diagnostic{std::move(message), {}, 0};
}

} // namespace lorvenna
