#include "platform/Control.h"

#include <QLabel>

namespace mycad {

TLabel::TLabel(QWidget* parent) : label_(new QLabel(parent)) {}

TLabel::~TLabel()
{
    // The label goes with this object; a parent destroyed first has taken it
    // already, which the guarded pointer notices.
    delete label_.data();
}

QLabel* TLabel::Widget() const
{
    return label_.data();
}

String TLabel::Caption() const
{
    return label_ ? label_->text() : String();
}

void TLabel::SetCaption(const String& text)
{
    if (label_) label_->setText(text);
}

} // namespace mycad
