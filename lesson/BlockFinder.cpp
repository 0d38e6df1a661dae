// Finding the display blocks that the page section of a lesson file names, while the file is
// read on once.
#include "lesson/BlockFinder.h"

#include "platform/IgnoreCase.h"
#include "platform/LineReader.h"

#include <algorithm>

namespace lorvenna {

namespace {

constexpr Marker kEndLesson("END LESSON");
constexpr std::uint64_t kEmptySlot = ~std::uint64_t{0};
constexpr std::size_t kFetchAhead = 8;

std::uint64_t hashFolded(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(foldCase(c))) * 1099511628211ULL;
    return hash;
}

std::uint64_t slotValue(std::uint64_t hash, std::uint32_t index) {
    return (hash & 0xFFFFFFFF00000000ULL) | index;
}

std::size_t homeSlot(std::uint64_t hash, int bits) {
    // The high bits of a multiplied hash spread names that differ in one digit.
    return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
}

} // namespace

void BlockFinder::wait(PageEntry* entry, int slot, long at) {
    const std::string_view name = entry->displayName[slot];
    waiting_.push_back({entry, at, hashFolded(name), static_cast<std::uint32_t>(text_.size()),
                        kNone, endsSeen_, static_cast<std::uint8_t>(name.size()),
                        static_cast<std::uint8_t>(slot), false});
    text_ += name;
}

void BlockFinder::noteLine(long position, const char* line, int length, std::string_view header) {
    // A line holding "END LESSON" stops every search still going, even when it also looks
    // like a header.
    if (holdsMarker(line, length, kEndLesson)) {
        ++endsSeen_;
        return;
    }
    if (header.empty() || waiting_.empty())
        return;
    fileWaiting();
    // A header that no DISPLAY line before it names is never found: every later one
    // searches from after itself.
    const std::uint32_t name = find(header);
    if (name == kNone)
        return;
    Name& found = names_[name];
    for (std::uint32_t i = found.firstWaiting; i != kNone; i = waiting_[i].next) {
        Waiting& display = waiting_[i];
        if (display.endsSeen != endsSeen_)
            continue;
        display.found = true;
        display.entry->displayOffset[display.slot] = static_cast<std::int32_t>(position);
    }
    found.firstWaiting = kNone;
    found.lastWaiting = kNone;
}

const BlockFinder::Waiting* BlockFinder::firstMissing() const {
    const auto missing = std::find_if(waiting_.begin(), waiting_.end(),
                                      [](const Waiting& display) { return !display.found; });
    return missing == waiting_.end() ? nullptr : &*missing;
}

std::vector<const BlockFinder::Waiting*> BlockFinder::allMissing() const {
    std::vector<const Waiting*> missing;
    for (const Waiting& display : waiting_) {
        if (!display.found)
            missing.push_back(&display);
    }
    return missing;
}

void BlockFinder::fileWaiting() {
    const std::size_t count = waiting_.size();
    if (filed_ == count)
        return;
    growTo(names_.size() + (count - filed_));
    for (std::size_t i = filed_; i < count; ++i) {
        if (i + kFetchAhead < count)
            __builtin_prefetch(&slots_[homeSlot(waiting_[i + kFetchAhead].hash, slotBits_)]);
        Waiting& display = waiting_[i];
        const std::size_t slot =
            slotOf(textOf(display.textStart, display.textLength), display.hash);
        if (slots_[slot] == kEmptySlot) {
            slots_[slot] = slotValue(display.hash, static_cast<std::uint32_t>(names_.size()));
            names_.push_back({display.hash, display.textStart, display.textLength});
        }
        Name& name = names_[static_cast<std::uint32_t>(slots_[slot])];
        const auto index = static_cast<std::uint32_t>(i);
        if (name.firstWaiting == kNone)
            name.firstWaiting = index;
        else
            waiting_[name.lastWaiting].next = index;
        name.lastWaiting = index;
    }
    filed_ = count;
}

std::size_t BlockFinder::slotOf(std::string_view name, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = homeSlot(hash, slotBits_);; slot = (slot + 1) & mask) {
        const std::uint64_t value = slots_[slot];
        if (value == kEmptySlot)
            return slot;
        if ((value >> 32) != (hash >> 32))
            continue;
        const Name& at = names_[static_cast<std::uint32_t>(value)];
        if (at.hash == hash && equalsIgnoringCase(textOf(at.textStart, at.textLength), name))
            return slot;
    }
}

std::uint32_t BlockFinder::find(std::string_view name) {
    // Blocks mostly stand in the order the pages name them, so the name after the last one
    // found is tried before the table.
    if (expected_ < names_.size()) {
        const Name& next = names_[expected_];
        if (equalsIgnoringCase(textOf(next.textStart, next.textLength), name))
            return expected_++;
    }
    if (slots_.empty())
        return kNone;
    const std::uint64_t value = slots_[slotOf(name, hashFolded(name))];
    if (value == kEmptySlot)
        return kNone;
    expected_ = static_cast<std::uint32_t>(value) + 1;
    return static_cast<std::uint32_t>(value);
}

void BlockFinder::growTo(std::size_t names) {
    int bits = std::max(slotBits_, 6);
    while ((std::size_t{1} << bits) < 2 * names)
        ++bits;
    if (bits == slotBits_)
        return;
    slotBits_ = bits;
    slots_.assign(std::size_t{1} << slotBits_, kEmptySlot);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t i = 0; i < names_.size(); ++i) {
        std::size_t slot = homeSlot(names_[i].hash, slotBits_);
        while (slots_[slot] != kEmptySlot)
            slot = (slot + 1) & mask;
        slots_[slot] = slotValue(names_[i].hash, i);
    }
}

} // namespace lorvenna
