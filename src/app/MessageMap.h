// The dialog's message map: a static table read top to bottom, first match wins.
// Platform-free so that the routing rules are tested natively; the Windows layer
// supplies the message, notification code and control id of each message.
#pragma once

#include <cstddef>

struct MessageKey {
    unsigned message;
    unsigned code;       // notification code for command and notify messages, else 0
    unsigned controlId;  // control id for command and notify messages, else 0
};

// Messages that carry a control id and a notification code.
constexpr unsigned messageMapCommand = 0x0111;  // WM_COMMAND
constexpr unsigned messageMapNotify = 0x004E;   // WM_NOTIFY

template <class Handler>
struct MessageMapEntry {
    unsigned message;
    unsigned code;
    unsigned idFirst;
    unsigned idLast;
    Handler handler;

    bool Matches(const MessageKey& key) const {
        if (key.message != message) return false;
        if (message != messageMapCommand && message != messageMapNotify) return true;
        return key.code == code && key.controlId >= idFirst && key.controlId <= idLast;
    }
};

// The first entry of the table that matches, or nullptr.
template <class Handler, std::size_t N>
const MessageMapEntry<Handler>* FindMessageMapEntry(const MessageMapEntry<Handler> (&table)[N], const MessageKey& key) {
    for (const auto& entry : table)
        if (entry.Matches(key)) return &entry;
    return nullptr;
}
