// Items described for assistive technology and the keyboard.
#include "items/AccessibleItems.h"

#include "items/Display.h"
#include "items/Item.h"
#include "items/RunObjects.h"
#include "items/types/ItemImsel.h"
#include "items/types/ItemSlider.h"

#include <optional>
#include <string_view>

namespace lorvenna {

namespace {

// Captions read "???" while a question is asked, as they are shown.
constexpr const char* kHiddenCaption = "???";

// Words as a reader wants them: the text's CR LF line breaks as plain line breaks, and the
// '&' that underlines a button's letter left out ("&&" is an ampersand).
std::string spoken(std::string_view text, bool caption = false) {
    std::string words;
    words.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r')
            continue;
        if (caption && c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&')
                words += text[++i];
            continue;
        }
        words += c;
    }
    return words;
}

// Pictures, figures and zones are called by their title, unless the lesson gives them a
// name to be read (ALTTEXT).
std::string nameOf(const Item& item) {
    return item.spokenName.empty() ? item.title : item.spokenName;
}

bool shown(const Item& item) {
    return item.visibility != Visibility::Hidden;
}

// A figure that never moves (STOP) is scenery, unless the lesson gives it a name to read.
bool decorates(const Item& figure) {
    return !figure.running && figure.spokenName.empty();
}

// The question that asks for the number typed into field: the one asked now if it does,
// else the first on the page that does.
const Item* questionFor(const Item& field) {
    auto asks = [&field](const Item& question) {
        for (int i = 0; i < question.keyCount && i < kMaxKeys; ++i) {
            if (question.keys[i].kind == kKeyNum && question.keys[i].answerer == &field)
                return true;
        }
        return false;
    };
    const Item* current = pageOnScreen().answer.currentQuestion();
    if (current && pageOnScreen().answer.questionActive() && asks(*current))
        return current;
    for (const Display* display : shownDisplays()) {
        for (const Item* item = display->items; item; item = item->next) {
            if (item->keyKinds != 0 && asks(*item))
                return item;
        }
    }
    return nullptr;
}

bool worded(const Item& item) {
    return (item.isType(ItemType::Text) || item.isType(ItemType::Label)) && !item.text.empty();
}

// What a number field is labelled with: the words of the question that asks for it, or, for
// a field that asks its own question, the last text shown above it on its display, as a
// student who sees the page reads it. Its title when there is neither.
std::string fieldLabel(const Item& field) {
    const Item* question = questionFor(field);
    if (question && worded(*question))
        return spoken(question->text);
    const Item* above = nullptr;
    if (field.display) {
        for (const Item* item = field.display->items; item && item != &field; item = item->next) {
            if (item->isType(ItemType::Text) && worded(*item) && shown(*item))
                above = item;
        }
    }
    return above ? spoken(above->text) : field.title;
}

AccessibleNode node(const Item& item, AccessibleRole role, std::string name) {
    AccessibleNode n;
    n.key = &item;
    n.serial = liveItemSerial(&item);
    n.role = role;
    n.name = std::move(name);
    n.rect = item.bounds;
    n.focusable = takesKeyboard(item);
    if (item.control)
        n.rect = item.control->geometry();
    if (item.isCurrentQuestion && item.keyKinds != 0)
        n.description = "Current question";
    return n;
}

std::optional<AccessibleNode> describe(const Item& item) {
    switch (item.type) {
    case ItemType::None:
    case ItemType::Timer:
        return std::nullopt;
    case ItemType::Text:
        if (item.text.empty() || !(shown(item) || item.isCurrentQuestion))
            return std::nullopt;
        return node(item, AccessibleRole::StaticText, spoken(item.text));
    case ItemType::Label:
        if (item.text.empty() || !shown(item))
            return std::nullopt;
        return node(item, AccessibleRole::StaticText,
                    pageOnScreen().answer.questionActive() ? kHiddenCaption : spoken(item.text));
    case ItemType::Button:
    case ItemType::Highlighter: {
        if (!item.control || !shown(item))
            return std::nullopt;
        // A button without a caption is still called something: its title.
        std::string caption = spoken(item.text, true);
        AccessibleNode n =
            node(item, AccessibleRole::PushButton, caption.empty() ? item.title : caption);
        n.control = item.control.get();
        return n;
    }
    case ItemType::Edit: {
        if (!item.control)
            return std::nullopt;
        AccessibleNode n = node(item, AccessibleRole::EditableText, fieldLabel(item));
        n.control = item.control.get();
        return n;
    }
    case ItemType::Slider: {
        if (!item.control || !shown(item))
            return std::nullopt;
        const auto& slider = static_cast<const ItemSlider&>(item);
        AccessibleNode n = node(item, AccessibleRole::Slider, nameOf(item));
        n.control = item.control.get();
        n.value = slider.scrollState.position;
        n.minimum = slider.scrollState.minimum;
        n.maximum = slider.scrollState.maximum;
        return n;
    }
    case ItemType::Bmp:
        if (!shown(item))
            return std::nullopt;
        return node(item, AccessibleRole::Image, nameOf(item));
    case ItemType::Ani:
        if (!shown(item) || decorates(item))
            return std::nullopt;
        return node(item, AccessibleRole::Image, nameOf(item));
    case ItemType::Zone:
        // A zone is there to be clicked once it has an outline (its display was drawn).
        if (!item.region)
            return std::nullopt;
        return node(item, AccessibleRole::PushButton, nameOf(item));
    case ItemType::Imsel: {
        const auto& selector = static_cast<const ItemImsel&>(item);
        AccessibleNode n = node(item, AccessibleRole::Image, nameOf(item));
        if (selector.maximum >= 1)
            n.description = "Picture " + std::to_string(selector.selection) + " of " +
                            std::to_string(truncateToInt(selector.maximum));
        return n;
    }
    }
    return std::nullopt;
}

} // namespace

AccessibleView describeDisplay(const Display& display) {
    AccessibleView view;
    view.name = display.name;
    for (const Item* item = display.items; item; item = item->next) {
        if (std::optional<AccessibleNode> n = describe(*item))
            view.nodes.push_back(std::move(*n));
    }
    return view;
}

bool takesKeyboard(const Item& item) {
    switch (item.type) {
    case ItemType::Button:
    case ItemType::Highlighter:
    case ItemType::Slider:
        return item.control && shown(item);
    case ItemType::Edit:
        return item.control != nullptr;
    case ItemType::Zone:
        return item.region != nullptr;
    case ItemType::Text:
    case ItemType::Label:
        // A paragraph or caption that lights something up when clicked.
        return item.outputs != nullptr && shown(item) && !item.text.empty();
    case ItemType::None:
    case ItemType::Bmp:
    case ItemType::Timer:
    case ItemType::Ani:
    case ItemType::Imsel:
        return false;
    }
    return false;
}

Rect keyboardRect(const Item& item) {
    return item.control ? item.control->geometry() : item.bounds;
}

std::string questionAnnouncement(const Item& question) {
    if (worded(question))
        return "Question: " + spoken(question.text);
    if (question.isType(ItemType::Edit))
        return "Question: " + fieldLabel(question);
    return "Question: " + question.title;
}

} // namespace lorvenna
