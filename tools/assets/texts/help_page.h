// The editor's help page: an HTML file shown by the editor's help window.
//
// The source page holds the marker comments <!--@MAPCHIP--> and <!--@ENEMY-->
// where the tables of object and enemy kinds belong; they are filled from the
// same explanations as the editor's status line, so the two never disagree.
#pragma once

#include "explanations.h"

#include <string>
#include <vector>

// The anchor the editor opens the help at (its help context 23).
inline constexpr const char* kHelpContentsAnchor = "<a name=\"context-23\">";

// Returns the page with every marker replaced by its table. Unknown or
// missing markers and a missing contents anchor are reported in errors.
std::string expandHelpPage(const std::string& page, const ExplanationSet& explanations,
                           const std::string& pageName, std::vector<std::string>& errors);

// Escapes text for an HTML element's content or attribute.
std::string escapeHtml(const std::string& text);
