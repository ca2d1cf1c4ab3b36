// about_box.hpp - the modal box with the product name and version, opened
// from the panels' flyout menus.
#pragma once

namespace vtg {

// The box's template (this program's own id).
inline constexpr int kAboutBoxTemplate = 40060;
// The text control that shows the version.
inline constexpr int kAboutVersionText = 40061;

// Shows the box until the user closes it: 0 after OK, -1 when it could not run.
int ShowAboutBox();

} // namespace vtg
