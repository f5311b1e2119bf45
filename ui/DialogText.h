#pragma once
// Text between the program's UTF-8 strings and Qt's widgets, for the dialogs.
#include <string>
#include <string_view>

#include <QLabel>
#include <QString>

namespace tandrel {

inline QString Qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Ss(const QString& text) { return text.toStdString(); }

// A label for text that comes from the user or the disk: a name such as "<b>" must show as typed,
// never as markup.
inline QLabel* PlainLabel(const QString& text = {}, QWidget* parent = nullptr) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

// A label for an explanatory word of the language file: wrapped, so that a long sentence in any
// language grows the dialog downwards instead of being cut.
inline QLabel* WrappedLabel(const QString& text, QWidget* parent = nullptr) {
  auto* label = PlainLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace tandrel
