// Cheap reset and operand storage of the reusable line record.
#include "line/line_record.hpp"

namespace dravent {

void line_record::clear()
{
    label.clear();
    mnemonic.clear();
    comment.clear();
    line_flags = 0;
    for (int i = 0; i < count; ++i) {
        operand(i).text.clear();
        operand(i).size_flags = 0;
    }
    count = 0;
}

void line_record::add_operand(std::string_view text)
{
    if (static_cast<std::size_t>(count) == operands.size()) {
        operands.emplace_back();
    }
    operand_slot& slot = operand(count);
    slot.text.assign(text);
    slot.size_flags = 0;
    ++count;
}

} // namespace dravent
