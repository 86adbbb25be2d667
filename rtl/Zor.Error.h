#pragma once

#include "Zor.RtlExport.h"

#include <QString>

#include <exception>
#include <string>

// The one exception type of the library. Its message is a user-visible text, as a rule taken
// from the error category of the text catalogue.
class QUINDLE_RTL_EXPORT EZORError : public std::exception {
public:
    explicit EZORError(const QString& message)
        : fMessage(message)
        , fUtf8(message.toStdString())
    {
    }

    const QString& Message() const { return fMessage; }
    const char* what() const noexcept override { return fUtf8.c_str(); }

private:
    QString fMessage;
    std::string fUtf8;
};
