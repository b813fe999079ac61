#pragma once

namespace quorix {

// The chance that one frequency of data without a period gives FT at or below `ft`, for `count`
// observations. FT is then 1/2 minus half the mean cosine of `count` random phases (mean 1/2,
// variance 1/(8 count)); the tail is the saddle-point approximation of that mean, which stays
// accurate far beyond the normal one, where the true period's dips lie.
[[nodiscard]] double SingleFrequencyTail(double ft, int count);

// How many independent tries a search over angular frequencies omegaLow..omegaHigh makes on data
// spanning `span` days: FT's dips are about pi / span wide in angular frequency. Never below 1.
[[nodiscard]] double IndependentFrequencies(double omegaLow, double omegaHigh, double span);

// The chance that data of `count` observations with no period in the searched range give a dip at
// least as deep as `ft` somewhere among `independentFrequencies` tries, FT being taken from the
// lowest time (whose own term is always 0). 1 for fewer than two observations.
[[nodiscard]] double FalseAlarmProbability(double ft, int count, double independentFrequencies);

} // namespace quorix
