#pragma once
// A form layout as resource-script text: a DIALOGEX template with its
// controls in tab order, and, when the form has menus, the MENU that the
// template names.

#include <string>

#include "platform/FormLayout.h"

namespace vantorel::win32::rcgen {

// Twips to horizontal and vertical dialog units.
int DluX(int twips);
int DluY(int twips);

// `text` as a resource-script string literal.
std::string Quoted(const std::string& text);

// The controls of `layout` that become windows (not menus), in the order of
// the template: by tab index, each control without a tab stop just before
// the next control that has one (a label right before its box, so that its
// access key reaches the box).
std::vector<const platform::ControlLayout*> TemplateOrder(const platform::FormLayout& layout);

// The menu resource, or "" when the form has no menu.
std::string MenuScript(const platform::FormLayout& layout);

// The dialog template.
std::string DialogScript(const platform::FormLayout& layout);

}  // namespace vantorel::win32::rcgen
