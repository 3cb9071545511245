// A mark: a value of an axis with its line colour and width, the colour of its
// tick, and a label box that starts with the text, font and size it was added
// with. The axis that owns it draws its line across the plot area and its
// label and tick at the axis.
#include "xychart/axes.h"

namespace quorvane {

MarkImpl::MarkImpl(double value, int lineColor, const char *text, const char *font, double fontSize)
    : value_(value), lineColor_(lineColor) {
  box_.text = text != nullptr ? text : "";
  // The label is written in the line's colour until told otherwise.
  box_.setFont(font, fontSize, lineColor);
}

void MarkImpl::setMarkColor(int lineColor, int textColor, int tickColor) {
  lineColor_ = lineColor;
  box_.fontColor = textColor;
  tickColor_ = tickColor;
}

}  // namespace quorvane
