#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Codes {
    int code;
    int secondCode = kNoSecondCode;
    bool operator==(const Codes&) const = default;
};

void PrintTo(const Codes& codes, std::ostream* out)
{
    *out << "{" << codes.code << ", " << codes.secondCode << "}";
}

// Feeds the bytes as if they arrived together, then lets the input fall silent for long
// enough to settle anything left open.
std::vector<Codes> decode(KeyDecoder& decoder, std::string_view bytes)
{
    std::vector<Codes> keys;
    for (const char byte : bytes) {
        if (const auto key = decoder.feed(static_cast<unsigned char>(byte)))
            keys.push_back({key->code, key->secondCode});
    }
    if (const auto key = decoder.elapsed(1000))
        keys.push_back({key->code, key->secondCode});
    return keys;
}

std::vector<Codes> decode(std::string_view bytes)
{
    KeyDecoder decoder;
    return decode(decoder, bytes);
}

struct SequenceCase {
    const char* name;
    std::string_view bytes;
    Codes expected;
};

void PrintTo(const SequenceCase& sequence, std::ostream* out)
{
    *out << sequence.name;
}

class SpecialKeySequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(SpecialKeySequence, gives_the_keys_two_codes)
{
    const SequenceCase& sequence = GetParam();
    EXPECT_EQ(decode(sequence.bytes), std::vector<Codes>{sequence.expected});
}

INSTANTIATE_TEST_SUITE_P(CursorKeys, SpecialKeySequence, testing::Values(
    SequenceCase{"up_csi", "\x1b[A", {224, 72}},
    SequenceCase{"down_csi", "\x1b[B", {224, 80}},
    SequenceCase{"right_csi", "\x1b[C", {224, 77}},
    SequenceCase{"left_csi", "\x1b[D", {224, 75}},
    SequenceCase{"up_ss3", "\x1bOA", {224, 72}},
    SequenceCase{"down_ss3", "\x1bOB", {224, 80}},
    SequenceCase{"right_ss3", "\x1bOC", {224, 77}},
    SequenceCase{"left_ss3", "\x1bOD", {224, 75}},
    SequenceCase{"home_csi", "\x1b[H", {224, 71}},
    SequenceCase{"end_csi", "\x1b[F", {224, 79}},
    SequenceCase{"home_ss3", "\x1bOH", {224, 71}},
    SequenceCase{"end_ss3", "\x1bOF", {224, 79}},
    SequenceCase{"home_vt220", "\x1b[1~", {224, 71}},
    SequenceCase{"insert_vt220", "\x1b[2~", {224, 82}},
    SequenceCase{"delete_vt220", "\x1b[3~", {224, 83}},
    SequenceCase{"end_vt220", "\x1b[4~", {224, 79}},
    SequenceCase{"page_up_vt220", "\x1b[5~", {224, 73}},
    SequenceCase{"page_down_vt220", "\x1b[6~", {224, 81}},
    SequenceCase{"home_rxvt", "\x1b[7~", {224, 71}},
    SequenceCase{"end_rxvt", "\x1b[8~", {224, 79}}),
    [](const auto& testCase) { return testCase.param.name; });

INSTANTIATE_TEST_SUITE_P(FunctionKeys, SpecialKeySequence, testing::Values(
    SequenceCase{"f1_ss3", "\x1bOP", {0, 59}},
    SequenceCase{"f2_ss3", "\x1bOQ", {0, 60}},
    SequenceCase{"f3_ss3", "\x1bOR", {0, 61}},
    SequenceCase{"f4_ss3", "\x1bOS", {0, 62}},
    SequenceCase{"f1_vt220", "\x1b[11~", {0, 59}},
    SequenceCase{"f2_vt220", "\x1b[12~", {0, 60}},
    SequenceCase{"f3_vt220", "\x1b[13~", {0, 61}},
    SequenceCase{"f4_vt220", "\x1b[14~", {0, 62}},
    SequenceCase{"f5", "\x1b[15~", {0, 63}},
    SequenceCase{"f6", "\x1b[17~", {0, 64}},
    SequenceCase{"f7", "\x1b[18~", {0, 65}},
    SequenceCase{"f8", "\x1b[19~", {0, 66}},
    SequenceCase{"f9", "\x1b[20~", {0, 67}},
    SequenceCase{"f10", "\x1b[21~", {0, 68}},
    SequenceCase{"f11", "\x1b[23~", {224, 133}},
    SequenceCase{"f12", "\x1b[24~", {224, 134}},
    SequenceCase{"f1_linux_console", "\x1b[[A", {0, 59}},
    SequenceCase{"f2_linux_console", "\x1b[[B", {0, 60}},
    SequenceCase{"f3_linux_console", "\x1b[[C", {0, 61}},
    SequenceCase{"f4_linux_console", "\x1b[[D", {0, 62}},
    SequenceCase{"f5_linux_console", "\x1b[[E", {0, 63}}),
    [](const auto& testCase) { return testCase.param.name; });

INSTANTIATE_TEST_SUITE_P(ModifiedKeys, SpecialKeySequence, testing::Values(
    SequenceCase{"shift_f1_xterm", "\x1b[1;2P", {0, 84}},
    SequenceCase{"ctrl_f1_xterm", "\x1b[1;5P", {0, 94}},
    SequenceCase{"alt_f1_xterm", "\x1b[1;3P", {0, 104}},
    SequenceCase{"shift_f1_old_xterm", "\x1bO2P", {0, 84}},
    SequenceCase{"ctrl_f5_xterm", "\x1b[15;5~", {0, 98}},
    SequenceCase{"alt_f10_xterm", "\x1b[21;3~", {0, 113}},
    SequenceCase{"shift_f12_xterm", "\x1b[24;2~", {224, 136}},
    SequenceCase{"ctrl_f11_xterm", "\x1b[23;5~", {224, 137}},
    SequenceCase{"alt_f12_xterm", "\x1b[24;3~", {224, 140}},
    SequenceCase{"shift_up_keeps_plain_codes", "\x1b[1;2A", {224, 72}},
    SequenceCase{"ctrl_up", "\x1b[1;5A", {224, 141}},
    SequenceCase{"ctrl_left", "\x1b[1;5D", {224, 115}},
    SequenceCase{"ctrl_right", "\x1b[1;5C", {224, 116}},
    SequenceCase{"ctrl_home", "\x1b[1;5H", {224, 119}},
    SequenceCase{"ctrl_page_up", "\x1b[5;5~", {224, 132}},
    SequenceCase{"ctrl_delete", "\x1b[3;5~", {224, 147}},
    SequenceCase{"alt_up", "\x1b[1;3A", {0, 152}},
    SequenceCase{"alt_page_down", "\x1b[6;3~", {0, 161}},
    SequenceCase{"meta_counts_as_alt", "\x1b[1;9B", {0, 160}},
    SequenceCase{"ctrl_alt_shift_takes_alt", "\x1b[1;8D", {0, 155}},
    SequenceCase{"ctrl_shift_takes_ctrl", "\x1b[1;6P", {0, 94}},
    SequenceCase{"rxvt_shift_up", "\x1b[a", {224, 72}},
    SequenceCase{"rxvt_ctrl_up", "\x1bOa", {224, 141}},
    SequenceCase{"rxvt_ctrl_right", "\x1bOc", {224, 116}},
    SequenceCase{"rxvt_shift_insert", "\x1b[2$", {224, 82}},
    SequenceCase{"rxvt_ctrl_f1", "\x1b[11^", {0, 94}},
    SequenceCase{"rxvt_ctrl_shift_f2", "\x1b[12@", {0, 95}},
    SequenceCase{"rxvt_shift_f3", "\x1b[25~", {0, 86}},
    SequenceCase{"rxvt_shift_f10", "\x1b[34~", {0, 93}},
    SequenceCase{"rxvt_alt_up", "\x1b\x1b[A", {0, 152}},
    SequenceCase{"shift_tab", "\x1b[Z", {0, 15}},
    SequenceCase{"keypad_enter_in_application_mode", "\x1bOM", {13}},
    SequenceCase{"keypad_digit_in_application_mode", "\x1bOq", {'1'}}),
    [](const auto& testCase) { return testCase.param.name; });

struct BytesCase {
    const char* name;
    std::string_view bytes;
    std::vector<Codes> expected;
};

void PrintTo(const BytesCase& bytes, std::ostream* out)
{
    *out << bytes.name;
}

class ByteStream : public testing::TestWithParam<BytesCase> {};

TEST_P(ByteStream, decodes_to)
{
    EXPECT_EQ(decode(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PlainBytes, ByteStream, testing::Values(
    BytesCase{"letters_digits_and_controls_as_they_are", "yN5\r\t\x03\x13",
        {{'y'}, {'N'}, {'5'}, {13}, {9}, {3}, {19}}},
    BytesCase{"delete_byte_is_backspace", "\x7f\x08", {{8}, {8}}},
    BytesCase{"lone_escape_after_silence", "\x1b", {{27}}},
    BytesCase{"escape_then_letter_is_the_letter_with_alt", "\x1bn", {{'n'}}},
    BytesCase{"escape_then_delete_is_alt_backspace", "\x1b\x7f", {{8}}},
    BytesCase{"two_escapes_then_silence_is_one_escape", "\x1b\x1b", {{27}}},
    BytesCase{"utf8_latin_letter_is_its_code", "\xc3\xa9", {{0xe9}}},
    BytesCase{"utf8_beyond_latin1_is_skipped", "\xe2\x96\xb2y", {{'y'}}},
    BytesCase{"utf8_four_bytes_is_skipped", "\xf0\x9f\x82\xa1n", {{'n'}}},
    BytesCase{"utf8_cut_short_is_dropped", "\xc3y", {{'y'}}},
    BytesCase{"stray_continuation_byte_is_skipped", "\xa9y", {{'y'}}},
    BytesCase{"alt_with_utf8_letter", "\x1b\xc3\xa9", {{0xe9}}}),
    [](const auto& testCase) { return testCase.param.name; });

INSTANTIATE_TEST_SUITE_P(SwallowedWhole, ByteStream, testing::Values(
    BytesCase{"unknown_vt220_number", "\x1b[99~y", {{'y'}}},
    BytesCase{"unknown_final_letter", "\x1b[1;5Xy", {{'y'}}},
    BytesCase{"keypad_centre", "\x1b[Ey", {{'y'}}},
    BytesCase{"private_parameters", "\x1b[?1;2cy", {{'y'}}},
    BytesCase{"focus_report", "\x1b[Iy", {{'y'}}},
    BytesCase{"mouse_report_with_sub_parameters", "\x1b[<0;12;5My", {{'y'}}},
    BytesCase{"unknown_ss3", "\x1bOzy", {{'y'}}},
    BytesCase{"unknown_linux_console_key", "\x1b[[Zy", {{'y'}}},
    BytesCase{"overlong_parameters", "\x1b[11111111111111111111111111;2Ay", {{'y'}}},
    BytesCase{"control_byte_inside_sequence_is_swallowed_too", "\x1b[1\ry", {{'y'}}},
    BytesCase{"fresh_escape_restarts_a_broken_sequence", "\x1b[1\x1b[B", {{224, 80}}},
    BytesCase{"sequence_cut_short_at_the_end", "\x1b[1;5", {}},
    BytesCase{"introducer_alone", "\x1b[", {}}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(KeyDecoder, lone_escape_waits_fifty_milliseconds_of_silence)
{
    KeyDecoder decoder;
    EXPECT_FALSE(decoder.feed(27));
    EXPECT_EQ(decoder.msUntilTimeout(), 50);
    EXPECT_FALSE(decoder.elapsed(30));
    EXPECT_EQ(decoder.msUntilTimeout(), 20);
    EXPECT_FALSE(decoder.elapsed(19));
    const auto key = decoder.elapsed(1);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->code, 27);
    EXPECT_EQ(key->secondCode, kNoSecondCode);
    EXPECT_EQ(decoder.msUntilTimeout(), -1);
}

TEST(KeyDecoder, escape_then_a_byte_just_inside_the_wait_is_alt_with_that_key)
{
    KeyDecoder decoder;
    decoder.feed(27);
    EXPECT_FALSE(decoder.elapsed(49));
    const auto key = decoder.feed('y');
    ASSERT_TRUE(key);
    EXPECT_EQ(key->code, 'y');
}

TEST(KeyDecoder, sequence_split_across_reads_decodes_within_its_longer_wait)
{
    KeyDecoder decoder;
    decoder.feed(27);
    decoder.feed('[');
    EXPECT_EQ(decoder.msUntilTimeout(), 200);
    EXPECT_FALSE(decoder.elapsed(150));
    decoder.feed('1');
    decoder.feed(';');
    EXPECT_FALSE(decoder.elapsed(199));
    decoder.feed('5');
    const auto key = decoder.feed('C');
    ASSERT_TRUE(key);
    EXPECT_EQ((Codes{key->code, key->secondCode}), (Codes{224, 116}));
}

TEST(KeyDecoder, sequence_stalled_past_its_wait_is_swallowed_with_what_follows_decoded_afresh)
{
    KeyDecoder decoder;
    decoder.feed(27);
    decoder.feed('[');
    decoder.feed('1');
    EXPECT_FALSE(decoder.elapsed(200));
    EXPECT_EQ(decoder.msUntilTimeout(), -1);
    const auto key = decoder.feed('A');
    ASSERT_TRUE(key);
    EXPECT_EQ(key->code, 'A');
}

TEST(KeyDecoder, keys_typed_ahead_come_out_one_by_one_in_order)
{
    KeyDecoder decoder;
    EXPECT_EQ(decode(decoder, "y\x1b[A\x1bOPn\xc3\xa9\x1b[3~5"),
        (std::vector<Codes>{{'y'}, {224, 72}, {0, 59}, {'n'}, {0xe9}, {224, 83}, {'5'}}));
}

TEST(KeyDecoder, reset_forgets_a_sequence_under_way)
{
    KeyDecoder decoder;
    decoder.feed(27);
    decoder.feed('[');
    decoder.reset();
    EXPECT_EQ(decoder.msUntilTimeout(), -1);
    const auto key = decoder.feed('A');
    ASSERT_TRUE(key);
    EXPECT_EQ(key->code, 'A');
}

TEST(KeyDecoder, end_of_input_settles_a_lone_escape_and_drops_a_partial_sequence)
{
    KeyDecoder escape;
    escape.feed(27);
    const auto key = escape.finish();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->code, 27);

    KeyDecoder partial;
    partial.feed(27);
    partial.feed('O');
    EXPECT_FALSE(partial.finish());
}

} // namespace
