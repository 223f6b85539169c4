// What the conversion of a line may know beyond the line itself.
#pragma once

namespace dravent {

// Passed to statement, operand and directive conversion. Every line is converted on its own
// today, so the context holds nothing yet; knowledge of the whole file belongs here.
struct conversion_context {};

} // namespace dravent
