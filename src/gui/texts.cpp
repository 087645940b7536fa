#include "gui/texts.h"

#include <QByteArray>
#include <QFile>

namespace moswit {

QString DidText(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string DidBytes(const QString& text) { return text.toLatin1().toStdString(); }

QString FileNameText(const std::string& bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string FileNameBytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace moswit
