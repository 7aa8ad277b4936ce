// Document text between its code page and QString.
#include "fenetres/page_de_code_qt.h"

#include "platform/page_de_code.h"

namespace fenetres {

QString texte_du_document(std::string_view octets) {
  return QString::fromStdString(platform::page_de_code_vers_utf8(octets));
}

std::string octets_du_document(const QString& texte, QString* remplaces) {
  std::string r;
  std::string octets = platform::utf8_vers_page_de_code(texte.toStdString(), remplaces ? &r : nullptr);
  if (remplaces) *remplaces = QString::fromStdString(r);
  return octets;
}

bool tenu_par_le_document(QChar c) {
  return !c.isSurrogate() && platform::octet_page_de_code(c.unicode()).has_value();
}

}  // namespace fenetres
