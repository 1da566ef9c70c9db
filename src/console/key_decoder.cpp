#include "console/key_decoder.h"

#include "console/special_keys.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace {

constexpr unsigned char kEscape = 27;
constexpr int kBackspace = 8;
constexpr int kDelete = 127;
constexpr size_t kLongestParameters = 16;

// xterm's modifier parameter: 1 plus a bit each for Shift (1), Alt (2), Ctrl (4), Meta (8).
Modifiers modifiersFromParameter(int parameter, bool altHeld)
{
    const int bits = parameter > 1 ? parameter - 1 : 0;
    return {(bits & 1) != 0, (bits & 4) != 0, altHeld || (bits & 2) != 0 || (bits & 8) != 0};
}

// The key of a cursor or function key's final letter: "ESC [ A", "ESC O P", "ESC [ 1 ; 5 H".
std::optional<SpecialKey> keyOfFinalLetter(char finalByte)
{
    switch (finalByte) {
    case 'A': return SpecialKey::Up;
    case 'B': return SpecialKey::Down;
    case 'C': return SpecialKey::Right;
    case 'D': return SpecialKey::Left;
    case 'H': return SpecialKey::Home;
    case 'F': return SpecialKey::End;
    case 'P': return SpecialKey::F1;
    case 'Q': return SpecialKey::F2;
    case 'R': return SpecialKey::F3;
    case 'S': return SpecialKey::F4;
    default: return std::nullopt;
    }
}

// The keys of the VT220 "ESC [ n ~" forms. 1 and 4 are Home and End on the Linux console and
// in screen and tmux; rxvt sends 7 and 8 for them.
std::optional<SpecialKey> keyOfNumber(int number)
{
    switch (number) {
    case 1: case 7: return SpecialKey::Home;
    case 2: return SpecialKey::Insert;
    case 3: return SpecialKey::Delete;
    case 4: case 8: return SpecialKey::End;
    case 5: return SpecialKey::PageUp;
    case 6: return SpecialKey::PageDown;
    case 11: return SpecialKey::F1;
    case 12: return SpecialKey::F2;
    case 13: return SpecialKey::F3;
    case 14: return SpecialKey::F4;
    case 15: return SpecialKey::F5;
    case 17: return SpecialKey::F6;
    case 18: return SpecialKey::F7;
    case 19: return SpecialKey::F8;
    case 20: return SpecialKey::F9;
    case 21: return SpecialKey::F10;
    case 23: return SpecialKey::F11;
    case 24: return SpecialKey::F12;
    default: return std::nullopt;
    }
}

// rxvt numbers Shift+F3 to Shift+F10 as if they were F13 to F20. (Its Shift+F1 and Shift+F2
// are 23 and 24, which every other terminal uses for F11 and F12: those stay F11 and F12.)
std::optional<SpecialKey> shiftedKeyOfRxvtNumber(int number)
{
    switch (number) {
    case 25: return SpecialKey::F3;
    case 26: return SpecialKey::F4;
    case 28: return SpecialKey::F5;
    case 29: return SpecialKey::F6;
    case 31: return SpecialKey::F7;
    case 32: return SpecialKey::F8;
    case 33: return SpecialKey::F9;
    case 34: return SpecialKey::F10;
    default: return std::nullopt;
    }
}

// The numbers of "1;5" as a list; nothing when the text holds anything but digits and ';'.
std::optional<std::vector<int>> numbersOf(const std::string& parameters)
{
    std::vector<int> numbers{0};
    for (const char byte : parameters) {
        if (byte == ';')
            numbers.push_back(0);
        else if (byte >= '0' && byte <= '9')
            numbers.back() = std::min(numbers.back() * 10 + (byte - '0'), 9999);
        else
            return std::nullopt;
    }
    return numbers;
}

bool isParameterByte(unsigned char byte)
{
    return byte >= 0x20 && byte <= 0x3f;
}

bool isFinalByte(unsigned char byte)
{
    return byte >= 0x40 && byte <= 0x7e;
}

} // namespace

std::optional<KeyPress> KeyDecoder::feed(unsigned char byte)
{
    silenceMs_ = 0;
    switch (state_) {
    case State::Ground:
        return plainByte(byte);

    case State::Escape:
        if (byte == '[') {
            state_ = State::ControlSequence;
            return std::nullopt;
        }
        if (byte == 'O') {
            state_ = State::SingleShift;
            return std::nullopt;
        }
        if (byte == kEscape) {
            // rxvt sends Alt with a special key as one more Escape in front of it.
            if (altHeld_) {
                startEscape();
                return KeyPress{kEscape};
            }
            altHeld_ = true;
            return std::nullopt;
        }
        state_ = State::Ground;
        return plainByte(byte); // the key typed with Alt

    case State::ControlSequence:
        // The Linux console sends F1 to F5 as "ESC [ [ A" to "ESC [ [ E".
        if (byte == '[' && parameters_.empty()) {
            state_ = State::LinuxFunctionKey;
            return std::nullopt;
        }
        // rxvt ends its Shift forms with '$' ("ESC [ 2 $"), a byte that would otherwise
        // continue the sequence.
        if (isFinalByte(byte) || byte == '$') {
            state_ = State::Ground;
            return finishControlSequence(static_cast<char>(byte));
        }
        break;

    case State::SingleShift:
        if (isFinalByte(byte)) {
            state_ = State::Ground;
            return finishSingleShift(static_cast<char>(byte));
        }
        break;

    case State::LinuxFunctionKey:
        state_ = State::Ground;
        if (byte >= 'A' && byte <= 'E') {
            const auto key = static_cast<SpecialKey>(static_cast<int>(SpecialKey::F1) + (byte - 'A'));
            return codesOf(key, {false, false, altHeld_});
        }
        if (byte == kEscape)
            startEscape();
        return std::nullopt;

    case State::Utf8:
        if ((byte & 0xc0) != 0x80) {
            // The character broke off: it is dropped, and this byte starts afresh.
            state_ = State::Ground;
            return plainByte(byte);
        }
        utf8Code_ = (utf8Code_ << 6) | (byte & 0x3f);
        if (--utf8Remaining_ > 0)
            return std::nullopt;
        state_ = State::Ground;
        if (utf8Length_ == 2 && utf8Code_ < 256)
            return KeyPress{static_cast<int>(utf8Code_)};
        return std::nullopt;
    }

    // Inside "ESC [" or "ESC O", before the final byte.
    if (isParameterByte(byte)) {
        if (parameters_.size() < kLongestParameters)
            parameters_ += static_cast<char>(byte);
        else
            overlong_ = true;
        return std::nullopt;
    }
    // Malformed: a fresh Escape begins a new sequence, any other byte ends this one unheard.
    if (byte == kEscape)
        startEscape();
    else
        state_ = State::Ground;
    return std::nullopt;
}

std::optional<KeyPress> KeyDecoder::plainByte(unsigned char byte)
{
    if (byte == kEscape) {
        startEscape();
        return std::nullopt;
    }
    if (byte == kDelete)
        return KeyPress{kBackspace};
    if (byte < 0x80)
        return KeyPress{byte};

    // A UTF-8 lead byte; a stray continuation byte or a byte no character starts with is
    // skipped.
    if (byte >= 0xc2 && byte <= 0xdf) {
        utf8Length_ = 2;
        utf8Code_ = byte & 0x1f;
    } else if (byte >= 0xe0 && byte <= 0xef) {
        utf8Length_ = 3;
        utf8Code_ = byte & 0x0f;
    } else if (byte >= 0xf0 && byte <= 0xf4) {
        utf8Length_ = 4;
        utf8Code_ = byte & 0x07;
    } else {
        return std::nullopt;
    }
    utf8Remaining_ = utf8Length_ - 1;
    state_ = State::Utf8;
    return std::nullopt;
}

void KeyDecoder::startEscape()
{
    state_ = State::Escape;
    altHeld_ = false;
    parameters_.clear();
    overlong_ = false;
    silenceMs_ = 0;
}

std::optional<KeyPress> KeyDecoder::finishControlSequence(char finalByte)
{
    if (overlong_)
        return std::nullopt;
    const auto numbers = numbersOf(parameters_);
    if (!numbers)
        return std::nullopt; // private forms ("ESC [ ? ..."), sub-parameters, intermediates
    const int first = numbers->front();
    const int modifierParameter = numbers->size() > 1 ? (*numbers)[1] : 1;

    if (const auto key = keyOfFinalLetter(finalByte))
        return codesOf(*key, modifiersFromParameter(modifierParameter, altHeld_));

    switch (finalByte) {
    case 'a': return codesOf(SpecialKey::Up, {true, false, altHeld_});   // rxvt Shift+arrows
    case 'b': return codesOf(SpecialKey::Down, {true, false, altHeld_});
    case 'c': return codesOf(SpecialKey::Right, {true, false, altHeld_});
    case 'd': return codesOf(SpecialKey::Left, {true, false, altHeld_});
    case 'Z': return KeyPress{0, 15};                                    // Shift+Tab
    case '~':
    case '$':
    case '^':
    case '@':
        break;
    default:
        return std::nullopt;
    }

    // The VT220 forms: xterm puts the modifiers in a second number ("ESC [ 5 ; 5 ~"), rxvt
    // in the final byte: '$' Shift, '^' Ctrl, '@' Ctrl+Shift.
    Modifiers modifiers = modifiersFromParameter(modifierParameter, altHeld_);
    if (finalByte == '$' || finalByte == '@')
        modifiers.shift = true;
    if (finalByte == '^' || finalByte == '@')
        modifiers.ctrl = true;
    if (const auto key = keyOfNumber(first))
        return codesOf(*key, modifiers);
    if (const auto key = shiftedKeyOfRxvtNumber(first)) {
        modifiers.shift = true;
        return codesOf(*key, modifiers);
    }
    return std::nullopt;
}

std::optional<KeyPress> KeyDecoder::finishSingleShift(char finalByte)
{
    if (overlong_)
        return std::nullopt;
    const auto numbers = numbersOf(parameters_);
    if (!numbers)
        return std::nullopt;
    // Some terminals put the modifier in: "ESC O 5 P", "ESC O 1 ; 5 P". The last number is it.
    const Modifiers modifiers = modifiersFromParameter(numbers->back(), altHeld_);

    if (const auto key = keyOfFinalLetter(finalByte))
        return codesOf(*key, modifiers);

    switch (finalByte) {
    case 'a': return codesOf(SpecialKey::Up, {false, true, altHeld_});   // rxvt Ctrl+arrows
    case 'b': return codesOf(SpecialKey::Down, {false, true, altHeld_});
    case 'c': return codesOf(SpecialKey::Right, {false, true, altHeld_});
    case 'd': return codesOf(SpecialKey::Left, {false, true, altHeld_});
    case 'M': return KeyPress{13};                                       // keypad Enter
    default:
        break;
    }
    // The numeric keypad when a terminal was left in its application mode: "ESC O p" is 0,
    // "ESC O y" is 9, and the operators around them.
    if (finalByte >= 'j' && finalByte <= 'y') {
        constexpr std::string_view kKeypad = "*+,-./0123456789";
        return KeyPress{kKeypad[static_cast<size_t>(finalByte - 'j')]};
    }
    return std::nullopt;
}

std::optional<KeyPress> KeyDecoder::elapsed(int milliseconds)
{
    if (state_ == State::Ground)
        return std::nullopt;
    silenceMs_ += milliseconds;
    if (msUntilTimeout() > 0)
        return std::nullopt;
    return finish();
}

int KeyDecoder::msUntilTimeout() const
{
    if (state_ == State::Ground)
        return -1;
    const int limit = state_ == State::Escape ? kEscapeWaitMs : kSequenceWaitMs;
    return std::max(0, limit - silenceMs_);
}

std::optional<KeyPress> KeyDecoder::finish()
{
    const bool loneEscape = state_ == State::Escape;
    reset();
    if (loneEscape)
        return KeyPress{kEscape};
    return std::nullopt; // a sequence or character cut short is swallowed
}

void KeyDecoder::reset()
{
    state_ = State::Ground;
    altHeld_ = false;
    parameters_.clear();
    overlong_ = false;
    silenceMs_ = 0;
}
