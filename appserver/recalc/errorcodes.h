#pragma once

// The codes of the errors packet (CDERROTEMP, three characters). docs/recalculation.md explains each;
// server_contract/errocontabil.h holds what the user reads for each.
namespace ErrorCode {
inline constexpr char NoExpenseAccount[] = "C01";    // account type without expense account
inline constexpr char NoSupplierAccount[] = "C02";   // supplier without account
inline constexpr char NoAdjustmentAccount[] = "C03"; // adjustment type without account
inline constexpr char UnknownAccount[] = "C04";      // account not in the chart of accounts
inline constexpr char SyntheticAccount[] = "C05";    // account that does not take postings
inline constexpr char UnknownAccountType[] = "C06";  // account type not registered
inline constexpr char UnknownAdjustmentType[] = "C07";
inline constexpr char NoHistory[] = "H01";           // type without standard history
inline constexpr char UnknownHistory[] = "H02";      // standard history not registered
inline constexpr char OutsidePeriod[] = "D01";       // posting date outside the open accounting period
inline constexpr char PostedOutsidePeriod[] = "D02"; // an earlier posting lies outside the open period
inline constexpr char NotPositive[] = "V01";         // value zero or negative
inline constexpr char Unbalanced[] = "B01";          // debits differ from credits
inline constexpr char RulesNotWhole[] = "R01";       // apportionment shares do not total 100.00%
inline constexpr char RuleOutsideCompany[] =
    "R02"; // rule on a branch of another company or unknown cost centre
inline constexpr char NoDefaultCostCentre[] = "R03"; // no rules and no default cost centre
inline constexpr char PostingBranchOutsideCompany[] =
    "R04"; // no rules and a posting branch of another company
} // namespace ErrorCode
