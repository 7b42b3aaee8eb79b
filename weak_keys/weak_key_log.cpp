#include "weak_keys/weak_key_log.h"

#include "base/options.h"
#include "platform/directory.h"
#include "progress/key_map.h"

namespace dactyla {

std::string weakKeysLogPath(const std::string& userDirectory, bool russian) {
    return platform::joinPath(userDirectory, russian ? "Weak keys - Rus.txt" : "Weak keys - Eng.txt");
}

std::string formatWeakKeysLogLine(const SessionResult& result, const std::vector<WeakKey>& aimedAt, bool russian,
                                  const platform::Date& date) {
    Options sentences;
    sentences.russian = russian ? 1 : 0;
    std::string line = formatResultLine(result, sentences, date);
    line.resize(line.size() - 2);  // its CR LF
    line += "  ";
    if (aimedAt.empty()) line += " -";
    for (const WeakKey& key : aimedAt) line.append(1, ' ').append(keyLabel(keyboardLayout(russian)[key.key]));
    return line + "\r\n";
}

bool appendWeakKeysLog(const std::string& userDirectory, bool russian, const SessionResult& result,
                       const std::vector<WeakKey>& aimedAt, const platform::Date& date) {
    return prependLogLine(weakKeysLogPath(userDirectory, russian),
                          formatWeakKeysLogLine(result, aimedAt, russian, date));
}

}  // namespace dactyla
