#pragma once

#include "platform/forms_runtime.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace timer::platform {

// The errors that can leave a handler. Each one ends the handler at the step
// where it arises; what the earlier steps wrote stays written.
class HandlerError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A display field the count cannot go on from, with the text it holds.
class FieldError : public HandlerError {
public:
    Display label() const { return label_; }
    const std::u16string& text() const { return text_; }

protected:
    FieldError(const std::string& what, Display label, std::u16string text);

private:
    Display label_;
    std::u16string text_;
};

// A display text that is not a number.
class ConversionError : public FieldError {
public:
    ConversionError(Display label, std::u16string text);
};

// A field a whole unit or more below zero, met where the seconds have run
// out: nothing can be counted down from it.
class NegativeFieldError : public FieldError {
public:
    NegativeFieldError(Display label, std::u16string text);
};

// The decrement raised an invalid-operation, divide-by-zero or overflow flag.
class ArithmeticError : public HandlerError {
public:
    ArithmeticError();
};

// UTF-16 to UTF-8 for messages; lone surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);

} // namespace timer::platform
