#pragma once

#include "import/StandardErrorCapture.h"

#include <QStringList>
#include <QtGlobal>
#include <optional>

// Keeps the messages Qt's decoders write while a file is read, through Qt's
// log or straight to standard error as libpng does, instead of letting their
// English reach the terminal, and tells from them whether the decoder found
// the file damaged: a JPEG cut short is decoded "successfully" with its
// lower part blank, and only says so in such a message.
class DecoderMessages {
public:
    DecoderMessages();
    ~DecoderMessages();
    DecoderMessages(const DecoderMessages&) = delete;
    DecoderMessages& operator=(const DecoderMessages&) = delete;

    // Stops keeping the messages; whether a decoder reported the file
    // truncated or corrupt.
    bool damage();

private:
    void stop();
    static void collect(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QStringList m_messages;
    QtMessageHandler m_before = nullptr;
    std::optional<StandardErrorCapture> m_stderr;
    DecoderMessages* m_outer = nullptr;
};
