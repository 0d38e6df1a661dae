// The lesson language's reference against the readers: every keyword a reader of ITEM lines
// knows is described, and every keyword described is known, each under its own item type.
// The keywords are taken from the readers' sources, so a line form added to a reader without
// a word in the reference fails here.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

using Keywords = std::set<std::string>;

std::string readSource(const std::string& path) {
    std::ifstream in(std::string(LORVENNA_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(in.good() || in.eof()) << path;
    return text.str();
}

// The body of the named function definition: from its name to the first "}" in column 0.
std::string functionBody(const std::string& source, const std::string& name) {
    const std::size_t start = source.find(name + "(");
    if (start == std::string::npos)
        return {};
    const std::size_t end = source.find("\n}\n", start);
    return source.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The words a reader compares lines with: string literals handed to the line matchers
// ("containsText(line, "WRAP")", "m.keyword("SINE")", "strstr(line, "TURNPAGE")"), and the
// named constants that stand for such literals.
Keywords lineKeywords(const std::string& source, const std::string& body) {
    std::map<std::string, std::string> constants;
    const std::regex constant(R"re(constexpr const char\* (k\w+) = "([A-Z]+)")re");
    for (std::sregex_iterator i(source.begin(), source.end(), constant), end; i != end; ++i)
        constants[(*i)[1]] = (*i)[2];
    Keywords words;
    const std::regex use(
        R"re((?:containsText\(line, |strstr\(line, |strcmp\(line, |keyword\()(?:"([A-Z]+)"|(k\w+)))re");
    for (std::sregex_iterator i(body.begin(), body.end(), use), end; i != end; ++i)
        words.insert((*i)[1].matched ? (*i)[1].str() : constants[(*i)[2]]);
    return words;
}

// The keywords of the reader every item shares: its table of line forms, the marked lines,
// and the forms of the key reader.
Keywords commonKeywords() {
    const std::string reader = readSource("items/ItemReader.cpp");
    Keywords words;
    const std::regex form(R"re(\{"([A-Z]+)", &BlockReader::)re");
    for (std::sregex_iterator i(reader.begin(), reader.end(), form), end; i != end; ++i)
        words.insert((*i)[1]);
    const std::string marked = functionBody(reader, "Row BlockReader::markedLine");
    const std::regex mark(R"re(strstr\(line, "([A-Z]+)"\))re");
    for (std::sregex_iterator i(marked.begin(), marked.end(), mark), end; i != end; ++i)
        words.insert((*i)[1]);
    // "KEY" only sends the line to the key reader, whose forms are the keywords.
    words.erase("KEY");
    const std::string keys = readSource("items/KeyReader.cpp");
    const std::regex key(R"re("(KEY[A-Z]+)")re");
    for (std::sregex_iterator i(keys.begin(), keys.end(), key), end; i != end; ++i)
        words.insert((*i)[1]);
    return words;
}

// The keywords the reference describes in the tables of one section (up to its first
// subsection): the first word of each row's first cell, where that is an upper-case keyword
// in backticks.
Keywords describedIn(const std::string& reference, const std::string& heading) {
    const std::size_t start = reference.find("\n" + heading);
    EXPECT_NE(start, std::string::npos) << "no section " << heading;
    if (start == std::string::npos)
        return {};
    // The section runs to the next heading: its subsections describe other things.
    const std::size_t end = reference.find("\n#", start + 1);
    const std::string section = reference.substr(start, end - start);
    Keywords words;
    const std::regex row(R"re(\n\| `([A-Z]+)[ `])re");
    for (std::sregex_iterator i(section.begin(), section.end(), row), e; i != e; ++i)
        words.insert((*i)[1]);
    return words;
}

TEST(LessonReference, DescribesEveryKeywordTheReadersKnowAndNoOther) {
    const std::string reference = readSource("docs/lesson-language.md");
    Keywords common = commonKeywords();
    ASSERT_GE(common.size(), 20u); // the sources were found and read
    EXPECT_EQ(describedIn(reference, "## Lines of an item"), common);

    // Each item type's own lines, in the section of its keyword.
    const std::pair<const char*, const char*> types[] = {
        {"TEXT", "ItemText"},     {"LABEL", "ItemLabel"}, {"BUTTON", "ItemButton"},
        {"EDIT", "ItemEdit"},     {"BMP", "ItemBMP"},     {"HIGHLIGHTER", "ItemHighlighter"},
        {"SLIDER", "ItemSlider"}, {"TIMER", "ItemTimer"}, {"ANI", "ItemAni"},
        {"ZONE", "ItemZone"},     {"IMSEL", "ItemImsel"},
    };
    const std::string typeTable = readSource("items/ItemTypes.cpp");
    for (const auto& [keyword, type] : types) {
        EXPECT_NE(typeTable.find(std::string("{\"") + keyword + "\""), std::string::npos)
            << keyword << " is no item type of the reader";
        const std::string source = readSource(std::string("items/types/") + type + ".cpp");
        const Keywords known = lineKeywords(
            source, functionBody(source, std::string("Status ") + type + "::ReadCommand"));
        EXPECT_EQ(describedIn(reference, std::string("### ") + keyword + ":"), known) << type;
    }
    // Every type of the reader's table has its section.
    const std::regex entry(R"re(\{"([A-Z]+)", make<)re");
    for (std::sregex_iterator i(typeTable.begin(), typeTable.end(), entry), e; i != e; ++i)
        EXPECT_NE(reference.find("\n### " + (*i)[1].str() + ":"), std::string::npos) << (*i)[1];
}

} // namespace
