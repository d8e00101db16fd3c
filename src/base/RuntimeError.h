#pragma once
// The one error the game raises for a failure it does not handle itself: a
// bad conversion, a floating-point fault, a subscript out of range. The
// window catches it where the event entered, shows the platform's run-time
// error box, and abandons the rest of that handler; the game goes on.

#include <QString>
#include <stdexcept>
#include <string>

namespace zw {

class RuntimeError : public std::runtime_error {
public:
    enum Number : int {
        InvalidProcedureCall = 5,
        Overflow = 6,
        SubscriptOutOfRange = 9,
        DivisionByZero = 11,
        TypeMismatch = 13,
        NoSuchControlElement = 340,
        InvalidPicture = 481,
    };

    RuntimeError(int number, const std::string& message)
        : std::runtime_error(message), number_(number) {}

    static RuntimeError overflow() { return {Overflow, "Overflow"}; }
    static RuntimeError subscriptOutOfRange() { return {SubscriptOutOfRange, "Subscript out of range"}; }
    static RuntimeError divisionByZero() { return {DivisionByZero, "Division by zero"}; }
    static RuntimeError typeMismatch() { return {TypeMismatch, "Type mismatch"}; }
    static RuntimeError invalidPicture() { return {InvalidPicture, "Invalid picture"}; }
    static RuntimeError noSuchControlElement(int index)
    {
        return {NoSuchControlElement, "Control array element '" + std::to_string(index) + "' doesn't exist"};
    }

    int number() const { return number_; }

    // The text of the run-time error box: "Run-time error '6':" then the message.
    QString boxText() const
    {
        return QStringLiteral("Run-time error '%1':\n\n%2").arg(number_).arg(QString::fromUtf8(what()));
    }

private:
    int number_;
};

} // namespace zw
