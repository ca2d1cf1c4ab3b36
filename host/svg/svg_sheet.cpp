#include "host/svg/svg_sheet.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "host/svg/svg_style.hpp"

namespace hostapp::svg {

namespace {

bool NameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

void Note(std::vector<std::string>& unsupported, std::string what) {
    if (std::find(unsupported.begin(), unsupported.end(), what) == unsupported.end())
        unsupported.push_back(std::move(what));
}

// The text without comments.
std::string Uncomment(const std::string& css) {
    std::string out;
    out.reserve(css.size());
    for (size_t i = 0; i < css.size();) {
        if (css.compare(i, 2, "/*") == 0) {
            const size_t end = css.find("*/", i + 2);
            if (end == std::string::npos)
                break;
            i = end + 2;
            out += ' ';
            continue;
        }
        out += css[i++];
    }
    return out;
}

} // namespace

void StyleSheet::add(const std::string& raw, std::vector<std::string>& unsupported) {
    const std::string css = Uncomment(raw);
    size_t i = 0;
    while (i < css.size()) {
        const size_t open = css.find_first_of("{;", i);
        if (open == std::string::npos)
            break;
        std::string prelude = Trim(css.substr(i, open - i));
        if (css[open] == ';') { // a statement at-rule (@import, @charset)
            if (!prelude.empty())
                Note(unsupported, prelude.substr(0, prelude.find(' ')));
            i = open + 1;
            continue;
        }
        // The block, braces matched (at-rules hold blocks of rules).
        size_t close = open + 1;
        int depth = 1;
        for (; close < css.size() && depth > 0; ++close)
            depth += css[close] == '{' ? 1 : css[close] == '}' ? -1 : 0;
        // Without its closing brace, the block runs to the end.
        const std::string body = css.substr(open + 1, close - open - (depth == 0 ? 2 : 1));
        i = close;
        if (!prelude.empty() && prelude[0] == '@') {
            Note(unsupported, prelude.substr(0, prelude.find_first_of(" \t\r\n")));
            continue;
        }
        Rule rule;
        for (const auto& [k, v] : ParseStyleAttribute(body)) {
            std::string value = v;
            const size_t bang = value.find('!');
            if (bang != std::string::npos) {
                std::string mark = Trim(value.substr(bang + 1));
                std::transform(mark.begin(), mark.end(), mark.begin(),
                               [](unsigned char c) { return std::tolower(c); });
                value = Trim(value.substr(0, bang));
                if (mark == "important") {
                    rule.important.emplace_back(k, value);
                    continue;
                }
            }
            rule.normal.emplace_back(k, value);
        }
        // One rule per selector of the list.
        size_t s = 0;
        while (s <= prelude.size()) {
            size_t comma = prelude.find(',', s);
            if (comma == std::string::npos)
                comma = prelude.size();
            const std::string text = Trim(prelude.substr(s, comma - s));
            s = comma + 1;
            if (text.empty())
                continue;
            Selector sel;
            bool ok = true;
            char pending = 0; // combinator before the next compound
            size_t j = 0;
            while (j < text.size() && ok) {
                const char c = text[j];
                if (std::isspace(static_cast<unsigned char>(c))) {
                    if (pending == 0)
                        pending = ' ';
                    ++j;
                    continue;
                }
                if (c == '>') {
                    pending = '>';
                    ++j;
                    continue;
                }
                if (!sel.parts.empty() && pending == 0) {
                    ok = false; // a compound that continues with what is not supported
                    break;
                }
                if (!sel.parts.empty() && (pending == ' ' || pending == '>'))
                    sel.combinators.push_back(pending);
                else if (sel.parts.empty() && pending == '>') {
                    ok = false;
                    break;
                }
                pending = 0;
                Simple simple;
                bool any = false;
                while (j < text.size() && ok) {
                    const char d = text[j];
                    if (d == '*' && !any) {
                        any = true;
                        ++j;
                    } else if (NameChar(d) && !any && simple.type.empty() && simple.id.empty() &&
                               simple.classes.empty()) {
                        const size_t b = j;
                        while (j < text.size() && NameChar(text[j]))
                            ++j;
                        simple.type = text.substr(b, j - b);
                        any = true;
                        sel.specificity += 1;
                    } else if (d == '.' || d == '#') {
                        const size_t b = ++j;
                        while (j < text.size() && NameChar(text[j]))
                            ++j;
                        if (j == b) {
                            ok = false;
                            break;
                        }
                        if (d == '.') {
                            simple.classes.push_back(text.substr(b, j - b));
                            sel.specificity += 100;
                        } else {
                            simple.id = text.substr(b, j - b);
                            sel.specificity += 10000;
                        }
                        any = true;
                    } else if (std::isspace(static_cast<unsigned char>(d)) || d == '>') {
                        break;
                    } else {
                        ok = false; // attribute selectors, pseudo-classes, + and ~
                    }
                }
                if (ok)
                    sel.parts.push_back(std::move(simple));
            }
            if (!ok || sel.parts.empty() || pending == '>') {
                Note(unsupported, "selector '" + text + "'");
                continue;
            }
            Rule r;
            r.selector = std::move(sel);
            r.order = rules_.size();
            r.normal = rule.normal;
            r.important = rule.important;
            rules_.push_back(std::move(r));
        }
    }
}

bool StyleSheet::Matches(const Simple& s, pugi::xml_node e) {
    if (e.type() != pugi::node_element)
        return false;
    if (!s.type.empty() && s.type != e.name())
        return false;
    if (!s.id.empty() && s.id != e.attribute("id").value())
        return false;
    if (!s.classes.empty()) {
        const char* cls = e.attribute("class").value();
        for (const std::string& want : s.classes) {
            bool found = false;
            for (const char* p = cls; *p != '\0' && !found;) {
                while (*p != '\0' && std::isspace(static_cast<unsigned char>(*p)))
                    ++p;
                const char* b = p;
                while (*p != '\0' && !std::isspace(static_cast<unsigned char>(*p)))
                    ++p;
                found = static_cast<size_t>(p - b) == want.size() &&
                        std::memcmp(b, want.data(), want.size()) == 0;
            }
            if (!found)
                return false;
        }
    }
    return true;
}

// Whether parts [0, part] of the selector match with part `part` on `e`.
bool StyleSheet::MatchesFrom(const Selector& sel, size_t part, pugi::xml_node e) {
    if (!Matches(sel.parts[part], e))
        return false;
    if (part == 0)
        return true;
    const char comb = sel.combinators[part - 1];
    if (comb == '>')
        return MatchesFrom(sel, part - 1, e.parent());
    for (pugi::xml_node p = e.parent(); p && p.type() == pugi::node_element; p = p.parent())
        if (MatchesFrom(sel, part - 1, p))
            return true;
    return false;
}

void StyleSheet::match(pugi::xml_node e, std::vector<Declaration>& normal,
                       std::vector<Declaration>& important) const {
    normal.clear();
    important.clear();
    std::vector<const Rule*> hits;
    for (const Rule& r : rules_)
        if (MatchesFrom(r.selector, r.selector.parts.size() - 1, e))
            hits.push_back(&r);
    std::stable_sort(hits.begin(), hits.end(), [](const Rule* x, const Rule* y) {
        return x->selector.specificity != y->selector.specificity
                   ? x->selector.specificity < y->selector.specificity
                   : x->order < y->order;
    });
    for (const Rule* r : hits) {
        normal.insert(normal.end(), r->normal.begin(), r->normal.end());
        important.insert(important.end(), r->important.begin(), r->important.end());
    }
}

} // namespace hostapp::svg
