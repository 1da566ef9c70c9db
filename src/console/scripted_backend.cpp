#include "console/scripted_backend.h"

void ScriptedBackend::type(std::string_view text)
{
    for (const char byte : text)
        keys.push_back({static_cast<unsigned char>(byte), kNoSecondCode});
}

void ScriptedBackend::typeLine(std::string_view line)
{
    type(line);
    type("\r");
}

void ScriptedBackend::press(int code, int secondCode)
{
    keys.push_back({code, secondCode});
}

std::vector<std::string> ScriptedBackend::eventsOf(std::string_view kind) const
{
    std::vector<std::string> found;
    const std::string prefix = std::string(kind) + " ";
    for (const auto& event : events) {
        if (event == kind)
            found.emplace_back();
        else if (event.starts_with(prefix))
            found.push_back(event.substr(prefix.size()));
    }
    return found;
}

void ScriptedBackend::moveCursor(int column, int row)
{
    screen.moveCursor(column, row);
    events.push_back("move " + std::to_string(column) + "," + std::to_string(row));
}

void ScriptedBackend::clear()
{
    screen.clear();
    events.emplace_back("clear");
}

void ScriptedBackend::write(std::string_view text)
{
    screen.write(text);
    events.push_back("text " + std::string(text));
}

void ScriptedBackend::flush()
{
}

std::int64_t ScriptedBackend::nowMs()
{
    return clockMs;
}

void ScriptedBackend::sleepUntilMs(std::int64_t targetMs)
{
    if (targetMs <= clockMs)
        return;
    pauses.push_back(static_cast<int>(targetMs - clockMs));
    events.push_back("pause " + std::to_string(targetMs - clockMs));
    clockMs = targetMs;
}

KeyPress ScriptedBackend::nextKey()
{
    if (keys.empty())
        return {};
    const KeyPress key = keys.front();
    keys.pop_front();
    events.emplace_back("key");
    return key;
}

void ScriptedBackend::discardPendingInput()
{
    // The queue is the test's whole script, not keys typed ahead, so nothing is thrown away.
}

bool ScriptedBackend::inputIsStream() const
{
    return streamInput;
}

void ScriptedBackend::interrupt()
{
    throw ScriptedInterrupt{};
}

void ScriptedBackend::playSoundFile(std::string_view fileName)
{
    sounds.emplace_back(fileName);
    events.push_back("sound " + std::string(fileName));
}
