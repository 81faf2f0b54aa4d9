#include "text_out.h"

#include "../core/character_sets.h"
#include "../core/code_page_437.h"

const char16_t* DocumentCharacters(const Document& document) {
  if (document.Colour() && document.screen.screen.font != nullptr) return kCodePage437;
  return CharactersOf(document.font.face.Set(), document.font.face.codePage);
}

std::string DocumentText(const Document&, const TextOutOptions&) { return std::string(); }

std::string DocumentAnsi(const Document&, const TextOutOptions&) { return std::string(); }
