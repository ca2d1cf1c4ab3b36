// svg_sheet.hpp - style sheets of SVG files: the rules of <style> elements
// with type, class, id, universal, descendant and child selectors, applied
// to elements in cascade order (specificity, then the order of the rules).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <pugixml.hpp>

namespace hostapp::svg {

using Declaration = std::pair<std::string, std::string>;

class StyleSheet {
public:
    // Adds the rules of a sheet's text. Each selector or rule this sheet
    // cannot apply is named once in `unsupported` and left out.
    void add(const std::string& css, std::vector<std::string>& unsupported);
    bool empty() const { return rules_.empty(); }
    // The declarations that apply to `e`, lowest precedence first:
    // `normal` and, separately, those marked !important.
    void match(pugi::xml_node e, std::vector<Declaration>& normal,
               std::vector<Declaration>& important) const;

private:
    struct Simple {
        std::string type; // empty: any
        std::string id;
        std::vector<std::string> classes;
    };
    struct Selector {
        std::vector<Simple> parts;     // left to right
        std::vector<char> combinators; // between parts: ' ' or '>'
        int specificity = 0;
    };
    struct Rule {
        Selector selector;
        size_t order = 0;
        std::vector<Declaration> normal, important;
    };
    static bool Matches(const Simple& s, pugi::xml_node e);
    static bool MatchesFrom(const Selector& sel, size_t part, pugi::xml_node e);

    std::vector<Rule> rules_;
};

} // namespace hostapp::svg
