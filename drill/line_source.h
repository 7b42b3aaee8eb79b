#pragma once
// A drill text of its own beside the sentences and the alphabet: the course and the weak-key
// drill make their lines themselves and keep their own records of a session.
#include <cstdint>

#include "drill/session_summary.h"

namespace dactyla {

// Bytes a line may use at its destination, its NUL included: the strip's buffer holds this much
// behind the 30 characters in front of a line.
inline constexpr unsigned kLineSourceRoom = 122;

class LineSource {
public:
    virtual ~LineSource() = default;
    // Whether a session may start: there is something to make lines of.
    virtual bool hasLines() = 0;
    // Writes the next line and a NUL at `destination`, at most kLineSourceRoom bytes; returns the
    // number of characters to type.
    virtual std::uint16_t nextLine(char* destination) = 0;
    // The oldest line fed and not yet typed has been typed to its end. True asks for the "Yes"
    // announcement (the course unlocked a key).
    virtual bool lineTyped() = 0;
    // A session ended with "Yes". The source records it in a log of its own: the results log is
    // kept for sentences and the alphabet.
    virtual void sessionFinished(const SessionSummary& summary) = 0;
};

}  // namespace dactyla
