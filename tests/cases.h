// The judging cases, one row each, run through the checker and through explain.
#pragma once
#include <ostream>
#include <string>

using namespace std::string_literals;

const std::string none = "<no such file>"; // a file the host names but that does not exist

struct row {
  const char *name;
  std::string in, out, ans;
  int score;
  bool warn; // one line on stderr per faulty file read, and one for a test contradicting itself
};

inline void PrintTo(const row &r, std::ostream *os) { *os << r.name; }

const std::string perm = "3 1 4 2 5"; // holds 4; n = 5 reaches volumes 0..6, so x = 7 needs -1

const row rows[] = {
    // The typical run and the marker table.
    {"sample", "5 4", perm, perm, 10, false},
    {"reference_numbers_ignored", "5 4", perm, "1 2 3 4 5", 10, false},
    {"wrong_volume", "5 3", perm, perm, 0, false},
    {"largest_volume_of_five", "5 6", "4 1 2 3 5", "4 1 2 3 5", 10, false},
    {"both_marker", "5 7", "-1", "-1", 10, false},
    {"both_marker_text_after", "5 7", "-1 junk 7 7 7\n", "-1\n", 10, false},
    {"both_marker_numbers_after", "5 7", "-1 1 2", "-1 5 5", 10, false},
    {"marker_with_leading_zeros", "5 7", "\n -0001", "\t-01", 10, false},
    {"contestant_marker_only", "5 4", "-1", perm, 0, false},
    {"reference_marker_only", "5 7", perm, "-1", 0, false},
    {"empty_against_marker", "5 7", "", "-1", 0, false},
    // A test that contradicts itself is named on stderr; the verdict stands as the table says.
    {"marker_but_reachable", "5 4", "-1", "-1", 10, true},
    {"marker_but_reachable_permutation", "5 4", perm, "-1", 0, true},
    {"answer_but_unreachable", "5 7", perm, perm, 0, true},
    {"answer_but_unreachable_marker", "5 7", "-1", perm, 0, true},
    {"marker_is_first_integer_only", "5 7", "3 -1", "-1", 0, false},
    // A value past 32 bits never forges the marker (a wrapping reader would see -1).
    {"forged_marker_contestant", "5 7", "4294967295", "-1", 0, false},
    {"forged_marker_negative", "5 7", "-4294967297", "-1", 0, false},
    {"forged_marker_reference", "5 4", "-1", "4294967295", 0, false},
    {"lone_sign_is_not_marker", "5 4", "-1", "- 1", 0, true},
    // Reading and validation, n = 3.
    {"one_per_line", "3 1", "2\n1\n3\n", perm, 10, false},
    {"crlf", "3 1", "2\r\n1\r\n3\r\n", "2\r\n1\r\n3\r\n", 10, false},
    {"crlf_input", "3 1\r\n", "2 1 3", perm, 10, false},
    {"all_white_space_kinds", "3\v1\f", "\t2\v1\f3\r", perm, 10, false},
    {"volume_one_not_zero", "3 0", "2 1 3", perm, 0, false},
    {"sorted_holds_nothing", "3 0", "1 2 3", perm, 10, false},
    {"reversed_holds_nothing", "3 0", "3 2 1", perm, 10, false},
    {"right_sweep", "3 1", "3 1 2", perm, 10, false},
    {"too_few", "3 0", "1 2", perm, 0, false},
    {"surplus_integer", "3 0", "1 2 3 4", perm, 0, false},
    {"surplus_negative_integer", "3 0", "1 2 3 -7", perm, 0, false},
    {"trailing_word", "3 1", "2 1 3 done", perm, 10, false},
    {"trailing_word_then_integer", "3 1", "2 1 3 x 4", perm, 10, false},
    {"trailing_text_past_a_block", "3 1", "2 1 3 " + std::string(1 << 17, 'z'), perm, 10, false},
    {"trailing_lone_sign", "3 1", "2 1 3 -", perm, 10, false},
    {"trailing_lone_sign_then_integer", "3 1", "2 1 3 - 4", perm, 10, false},
    {"letter_stops_reading", "3 0", "1 a 3", perm, 0, false},
    {"lone_sign_consumed", "3 0", "1 - 3", perm, 0, false},
    {"double_sign", "3 0", "1 +-2 3", perm, 0, false},
    {"plus_signs", "3 1", "+2 +1 +3", perm, 10, false},
    {"repeated_value", "3 0", "1 1 3", perm, 0, false},
    {"zero", "3 0", "0 1 2", perm, 0, false},
    {"above_n", "3 0", "1 2 4", perm, 0, false},
    {"negative", "3 0", "-2 1 3", perm, 0, false},
    {"empty_output", "3 0", "", perm, 0, false},
    {"only_white_space", "3 0", " \n\t\r\n", perm, 0, false},
    {"hex_is_not_read", "3 1", "0x2 1 3", perm, 0, false},
    {"host_verdict_words", "3 1", "OK\nok\n100\n", perm, 0, false}, // forges no host's verdict
    {"n_one_volume_zero", "1 0", "1", "1", 10, false},
    {"n_one_wrong_x", "1 1", "1", "1", 0, true},
    {"n_two", "2 0", "2 1", "1 2", 10, false},
    // Overflowing tokens: as first number, inside the permutation, after it.
    {"overflow_first_wraps_to_two", "3 1", "4294967298 1 3", perm, 0, false},
    {"overflow_inside_wraps_to_one", "3 1", "2 4294967297 3", perm, 0, false},
    {"overflow_huge_inside", "3 1", "2 " + std::string(1000, '9') + " 3", perm, 0, false},
    {"overflow_after", "3 1", "2 1 3 99999999999999999999999", perm, 0, false},
    {"int_min_token", "3 1", "-2147483648 1 3", perm, 0, false},
    {"leading_zeros", "3 1", "002 01 0003", perm, 10, false},
    {"thousand_leading_zeros", "3 1", "2 1 " + std::string(1000, '0') + "3", perm, 10, false},
    {"x_past_64_bits", "3 99999999999999999999999", "2 1 3", perm, 0, true},
    {"x_plus_two_to_32", "3 4294967297", "2 1 3", perm, 0, true},
    {"x_minus_two_to_32", "3 -4294967295", "2 1 3", perm, 0, true},
    {"x_negative", "3 -1", "1 2 3", perm, 0, true},
    // NUL bytes are ordinary characters that no number can begin with.
    {"nul_after_answer", "3 1", "2 1 3\0"s, perm, 10, false},
    {"nul_hides_rest", "3 1", "2 1\0 3"s, perm, 0, false},
    {"nul_then_next_line", "3 1", "2 1\0x\n3\n"s, perm, 0, false},
    {"nul_hides_surplus", "3 1", "2 1 3 \0 4"s, perm, 10, false},
    {"nul_before_all", "3 1",
     "\0"s
     "2 1 3",
     perm, 0, false},
    {"nul_in_reference", "3 1", "2 1 3", "\0-1"s, 10, true},
    // Judge-side faults: the marker decision stands, anything further scores 0.
    {"n_zero", "0 0", "1", "1", 0, true},
    {"n_negative", "-3 0", "1", "1", 0, true},
    {"n_past_arrays", "1000010 0", "1", "1", 0, true},
    {"n_wraps_to_one", "4294967297 0", "1", "1", 0, true},
    {"input_without_x", "1", "1", "1", 0, true},
    {"input_with_word", "n x", "1", "1", 0, true},
    {"input_empty", "", "1", "1", 0, true},
    {"input_absent", none, "1", "1", 0, true},
    {"bad_input_both_marker", "0 0", "-1", "-1", 10, true},
    {"absent_input_both_marker", none, "-1", "-1", 10, true},
    {"bad_input_reference_marker", "0 0", "1", "-1", 0, true},
    {"reference_without_integer", "3 1", "2 1 3", "no answer", 10, true},
    {"reference_empty", "3 1", "2 1 3", "", 10, true},
    {"reference_absent", "3 1", "2 1 3", none, 10, true},
    {"reference_absent_contestant_marker", "3 1", "-1", none, 0, true},
    {"reference_overflowing_is_fine", "3 1", "2 1 3", "99999999999", 10, false},
    {"n_largest_allowed", "1000009 0", "1", "1", 0, false},
    // An output that cannot be opened is judged as empty, and the host is told.
    {"output_absent", "3 1", none, perm, 0, true},
    {"output_absent_reference_marker", "3 2", none, "-1", 0, true},
};
