// A save into any bytes at all. The first three bytes choose the save (a
// level, a death count, which section); the rest is the store as found.
// Whatever the store holds, a save must
//   (a) keep every byte outside the game's value spans and its new lines,
//       in order: the edits change only the values of the section's key
//       lines, as a plain reading of the lines finds them, and add only the
//       keys that were missing, after the section's last key line or in a
//       new section at the end;
//   (b) read back as the values just saved;
//   (c) change nothing more when made again, and read the same twice.

#include "platform/store/SectionLines.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

using namespace zw::platform;

namespace {

[[noreturn]] void fail(const char* what, const QByteArray& store)
{
    std::fprintf(stderr, "%s\nstore: %s\n", what, store.toPercentEncoding().constData());
    std::abort();
}

bool blank(char c) { return c == ' ' || c == '\t'; }
bool lineBreak(char c) { return c == '\n' || c == '\r'; }

// The store read the plain way, line by line, to hold the editor to.
struct Reading {
    struct Value {
        std::string key;
        std::size_t begin, end; // the value, blanks around it left out
    };
    std::vector<Value> values;        // the key lines of the section, in order
    std::optional<std::size_t> after; // end of the text of the section's last key or "[...]" line
    std::string lineEnd = "\n";
};

std::string_view trim(std::string_view s)
{
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

Reading read(const std::string& f, const std::string& section)
{
    Reading r;
    const std::size_t firstBreak = f.find_first_of("\r\n");
    if (firstBreak != std::string::npos)
        r.lineEnd = f[firstBreak] == '\n' ? "\n" : f.compare(firstBreak, 2, "\r\n") == 0 ? "\r\n" : "\r";
    bool inside = false;
    std::size_t pos = 0;
    while (pos < f.size()) {
        std::size_t begin = pos;
        if (pos == 0 && f.compare(0, 3, "\xEF\xBB\xBF") == 0)
            begin = 3;
        std::size_t end = begin;
        while (end < f.size() && !lineBreak(f[end]))
            ++end;
        pos = end == f.size() ? end : f.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        const std::string_view text(f.data() + begin, end - begin);
        if (!trim(text).empty() && trim(text).front() == '[') {
            inside = trim(text) == "[" + section + "]";
            if (inside)
                r.after = end;
            continue;
        }
        const std::size_t eq = text.find('=');
        if (!inside || eq == std::string_view::npos)
            continue;
        std::size_t vb = begin + eq + 1, ve = end;
        while (vb < ve && blank(f[vb]))
            ++vb;
        while (ve > vb && blank(f[ve - 1]))
            --ve;
        r.values.push_back({std::string(trim(text.substr(0, eq))), vb, ve});
        r.after = end;
    }
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const int level = data[0] % 20 + 1;
    const int deaths = data[1] * (data[2] & 0x7f);
    const std::string section = (data[2] & 0x80) ? "SaveGame-00ff00ff00ff00ff" : "SaveGame";
    const QByteArray store(reinterpret_cast<const char*>(data + 3), qsizetype(size - 3));
    const std::string f = store.toStdString();

    const std::map<std::string, std::string> saved = {{"Saw1", std::to_string(level)},
                                                      {"Saw2", std::to_string(deaths)},
                                                      {"Saw3", std::to_string(level + deaths)},
                                                      {"Saw4", std::to_string(deaths % level)}};
    KeyTexts values;
    for (const auto& [key, text] : saved)
        values.push_back({QString::fromStdString(key), QString::fromStdString(text)});
    const QString qsection = QString::fromStdString(section);

    storedValues(store, qsection, values); // any bytes read without harm
    const std::vector<LineEdit> edits = editsFor(store, qsection, values);
    const QByteArray after = withEdits(store, edits);

    // (a) Each edit is a value span of a saved key, given that key's text,
    // or the one insertion of the missing keys; nothing else moves.
    const Reading before = read(f, section);
    std::map<std::size_t, const Reading::Value*> spans;
    std::string missing;
    for (const auto& [key, text] : saved) {
        bool present = false;
        for (const Reading::Value& v : before.values) {
            if (v.key == key) {
                spans[v.begin] = &v;
                present = true;
            }
        }
        if (!present)
            missing += before.lineEnd + key + "=" + text;
    }
    std::set<std::size_t> valueSpansDone;
    bool inserted = false;
    std::string rebuilt;
    std::size_t kept = 0;
    for (const LineEdit& edit : edits) {
        const std::size_t at = std::size_t(edit.at), length = std::size_t(edit.length);
        if (at < kept || at + length > f.size())
            fail("edits overlap or leave the file", store);
        rebuilt += f.substr(kept, at - kept) + edit.text.toStdString();
        kept = at + length;
        const auto span = spans.find(at);
        if (span != spans.end() && !valueSpansDone.count(at) && span->second->end == at + length) {
            if (edit.text.toStdString() != saved.at(span->second->key))
                fail("a value span got another text than its key's", store);
            valueSpansDone.insert(at);
            continue;
        }
        if (length != 0 || inserted || missing.empty())
            fail("an edit outside the game's values", store);
        inserted = true;
        const std::string text = edit.text.toStdString();
        if (before.after) {
            if (at != *before.after || text != missing)
                fail("new keys not right after the section's last key line", store);
        } else {
            std::string block;
            if (!f.empty() && !lineBreak(f.back()))
                block += before.lineEnd;
            if (f.find_first_not_of(" \t\r\n") != std::string::npos)
                block += before.lineEnd;
            block += "[" + section + "]" + missing + before.lineEnd;
            if (at != f.size() || text != block)
                fail("a new section not at the end, or not of the file's line ending", store);
        }
    }
    rebuilt += f.substr(kept);
    if (rebuilt != after.toStdString())
        fail("the saved bytes are not the old ones with the edits", store);
    if (valueSpansDone.size() != spans.size() || inserted == missing.empty())
        fail("a key line of the game's left unsaved, or missing keys not added", store);

    // (b) What was saved reads back, by the game and by the plain reading.
    KeyTexts asked;
    for (const auto& [key, text] : values)
        asked.push_back({key, QStringLiteral("\x01missing")});
    std::vector<QString> expected;
    for (const auto& [key, text] : values)
        expected.push_back(text);
    if (storedValues(after, qsection, asked) != expected)
        fail("the saved values do not read back", store);
    const std::string a = after.toStdString();
    const Reading again = read(a, section);
    for (const auto& [key, text] : saved) {
        std::optional<std::string> last;
        for (const Reading::Value& v : again.values)
            if (v.key == key)
                last = a.substr(v.begin, v.end - v.begin);
        if (last != text)
            fail("the plain reading finds another value", store);
    }

    // (c) Saving the same again changes nothing; reading is repeatable.
    if (withStoredValues(after, qsection, values) != after)
        fail("a second save changed the file", store);
    if (storedValues(after, qsection, asked) != storedValues(after, qsection, asked))
        fail("two readings differ", store);
    return 0;
}
