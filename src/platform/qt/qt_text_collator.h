#pragma once

#include "platform/text_collator.h"

#include <QCollator>
#include <QLocale>

// The user's sort order through QCollator, case-sensitive.
class QtTextCollator final : public TextCollator {
  public:
    // The collation of the system's language unless another locale is given.
    explicit QtTextCollator(const QLocale& locale = QLocale(QLocale::system().collation()));

    int compare(std::u16string_view a, std::u16string_view b) const override;

  private:
    QCollator collator_;
};
