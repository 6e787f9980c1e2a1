#pragma once

#include <QStringList>
#include <QtGlobal>

// Keeps the messages Qt's decoders write while a file is read, instead of
// letting their English reach the terminal, and tells from them whether the
// decoder found the file damaged: a JPEG cut short is decoded "successfully"
// with its lower part blank, and only says so in such a message.
class DecoderMessages {
public:
    DecoderMessages();
    ~DecoderMessages();
    DecoderMessages(const DecoderMessages&) = delete;
    DecoderMessages& operator=(const DecoderMessages&) = delete;

    // Whether a decoder reported the file truncated or corrupt.
    bool damage() const;

private:
    static void keep(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QStringList m_messages;
    QtMessageHandler m_before = nullptr;
    DecoderMessages* m_outer = nullptr;
};
