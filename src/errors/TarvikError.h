// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <exception>

// Common base of the program's error kinds: each carries only a message,
// which the main window's error box shows to the user. The messages are translated
// in this one context (TarvikError::tr), wherever they are made.
class TarvikError : public std::exception
{
    Q_DECLARE_TR_FUNCTIONS(TarvikError)

public:
    explicit TarvikError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
