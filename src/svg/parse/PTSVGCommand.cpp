#include "svg/parse/PTSVGCommand.h"

#include "svg/parse/PTSVGPathCommands.h"
#include "svg/PTSVGUtils.h"

#include <algorithm>
#include <array>
#include <mutex>

namespace {

// Indexed by lower-case ASCII letter; written only inside registerAll's one-time initialisation.
std::array<const PTSVGCommandClass*, 26>& registry()
{
    static std::array<const PTSVGCommandClass*, 26> table{};
    return table;
}

} // namespace

PTSVGCommand::PTSVGCommand(QStringView commandString)
{
    if (commandString.isEmpty())
        return;
    command_ = commandString.front();
    type_ = PTSVGUtils::typeForCommandString(commandString);
    commandClass_ = commandClassForCommandLetter(command_);
    parameters_ = PTSVGUtils::scanFloatsFromString(commandString);
    const int required = requiredParameters();
    const size_t groups = required == 0 ? 1 : parameters_.size() / size_t(required);
    subCommands_.reserve(groups);
    for (size_t i = 0; i < groups; ++i) {
        const auto first = parameters_.begin() + ptrdiff_t(i * size_t(required));
        subCommands_.push_back(PTSVGCommand(*this, std::span<const double>(&*first, size_t(required)), i > 0,
                                            subCommands_.empty() ? nullptr : &subCommands_.back()));
    }
}

PTSVGCommand::PTSVGCommand(const PTSVGCommand& parent, std::span<const double> group, bool isSubCommand,
                           const PTSVGCommand* previous)
    : command_(parent.command_), type_(parent.type_), commandClass_(parent.commandClass_),
      groupSize_(int(group.size())), isSubCommand_(isSubCommand), previousCommand_(previous)
{
    std::copy(group.begin(), group.end(), group_.begin());
}

std::span<const double> PTSVGCommand::parameters() const
{
    if (groupSize_ >= 0)
        return {group_.data(), size_t(groupSize_)};
    return parameters_;
}

void PTSVGCommand::registerAll()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const PTSVGCommandClass* commandClass : PTSVGPathCommands::all())
            registerClass(commandClass, commandClass->letter);
    });
}

void PTSVGCommand::registerClass(const PTSVGCommandClass* commandClass, QChar letter)
{
    const char16_t lower = letter.toLower().unicode();
    if (lower >= 'a' && lower <= 'z')
        registry()[lower - 'a'] = commandClass;
}

const PTSVGCommandClass* PTSVGCommand::commandClassForCommandLetter(QChar letter)
{
    const char16_t lower = letter.toLower().unicode();
    return (lower >= 'a' && lower <= 'z') ? registry()[lower - 'a'] : nullptr;
}

int PTSVGCommand::registeredCommandCount()
{
    int count = 0;
    for (const auto* commandClass : registry())
        count += commandClass ? 1 : 0;
    return count;
}

const PTSVGCommand* PTSVGCommand::run(const PTSVGCommand* previous, PTSVGPath& path) const
{
    const PTSVGCommand* last = nullptr;
    for (const auto& sub : subCommands_) {
        if (commandClass_) {
            sub.resetRead();
            commandClass_->run(sub.group_.data(), sub.groupSize_, sub, last ? last : previous, sub.type_, path);
        }
        last = &sub;
    }
    return last;
}

double PTSVGCommand::readFloat() const
{
    const auto values = parameters();
    return readPosition_ < values.size() ? values[readPosition_++] : 0.0;
}

QPointF PTSVGCommand::readPoint() const
{
    const double x = readFloat();
    const double y = readFloat();
    return {x, y};
}
