// Document text on screen and on the page: the bytes of a comment or
// information line as a QString, and typed text back as document bytes, by
// the code page of platform/page_de_code.h.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace fenetres {

QString texte_du_document(std::string_view octets);
// A character the code page cannot hold becomes "?"; `remplaces`, when given,
// receives each such character once.
std::string octets_du_document(const QString& texte, QString* remplaces = nullptr);
// Whether the code page holds the character; never a surrogate (the code page
// holds nothing beyond U+FFFF).
bool tenu_par_le_document(QChar c);

}  // namespace fenetres
