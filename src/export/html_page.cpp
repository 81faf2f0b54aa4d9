#include "html_page.h"

std::string DocumentHtml(const Document&, const GlyphPixels&, const TextOutOptions&) { return std::string(); }
