// help_pages.hpp - the help page table and ShowHelpPage, which shows a page
// in an embedded HTML view or hands it to the user's web browser.
#pragma once

#include <optional>
#include <string>

#include "host/api/vtg_base.h"

namespace vtg {

class HelpHtmlView;

// The page name of a row ("index" for 0); null for an unused row.
const char* HelpPageName(int row);
// The folder of the help pages: "VERTiGON6_Help" beside the plug-in file.
std::string HelpFolder();
// The page file of a row; empty for an unused row.
std::string HelpPagePath(int row);

// The program of a registered browser command: leading characters below
// "!" skipped; a quoted program is taken without its quotes, an unquoted
// one up to the first blank. Nullopt when nothing is left or the program
// is longer than 1025 characters.
std::optional<std::string> BrowserProgram(const std::string& command);
// A local path in URL form ("file://" with unsafe characters escaped).
std::string FileUrl(const std::string& path);

// Shows the page of `row`: in `view` (not in-browser) or in the browser
// after the user's confirmation. A missing page shows the missing-files
// message. kNotFoundErr for an unknown row or a missing page,
// kCancelledErr when the user declined, kBadParameterErr without a view.
ErrorCode ShowHelpPage(int row, bool inBrowser, HelpHtmlView* view);

// The texts and the suppression key of the browser question.
extern const char* const kHelpMissingFilesMessage;
extern const char* const kHelpBrowserQuestion;
extern const char* const kHelpBrowserWarningKey;
extern const char* const kHelpWarningSection;

} // namespace vtg
