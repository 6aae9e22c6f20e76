#pragma once

#include <QChar>
#include <QPointF>
#include <QString>
#include <QStringView>

#include <array>
#include <span>
#include <vector>

class PTSVGCommand;
class PTSVGPath;

// One path-command letter's behaviour: how many numbers one group takes and what one group does to the path.
struct PTSVGCommandClass {
    using Run = void (*)(const double* params, int paramCount, const PTSVGCommand& command,
                         const PTSVGCommand* previousCommand, int type, PTSVGPath& path);
    QChar letter; // lower case
    int requiredParameterCount;
    Run run;
};

// One command string of path data ("l10 20 30 40") split into its groups of numbers, one sub-command per group.
class PTSVGCommand {
public:
    // Builds the command and its sub-commands; too few numbers give no sub-commands, extra numbers are ignored.
    explicit PTSVGCommand(QStringView commandString);
    // Sub-commands point at their predecessors inside the command, so a command moves but never copies.
    PTSVGCommand(PTSVGCommand&&) = default;
    PTSVGCommand(const PTSVGCommand&) = delete;
    PTSVGCommand& operator=(const PTSVGCommand&) = delete;

    // Fills the letter registry with the path commands; safe to call more than once and from any thread.
    static void registerAll();
    static void registerClass(const PTSVGCommandClass* commandClass, QChar letter);
    // The class of a letter (either case), or nullptr.
    static const PTSVGCommandClass* commandClassForCommandLetter(QChar letter);
    static int registeredCommandCount();

    QChar command() const { return command_; }
    // 0 absolute (upper-case letter), 1 relative.
    int type() const { return type_; }
    const PTSVGCommandClass* commandClass() const { return commandClass_; }
    // Every number of the command string, or the numbers of one group for a sub-command.
    std::span<const double> parameters() const;
    int parameterCount() const { return int(parameters().size()); }
    int requiredParameters() const { return commandClass_ ? commandClass_->requiredParameterCount : 0; }
    const std::vector<PTSVGCommand>& subCommands() const { return subCommands_; }
    bool isSubCommand() const { return isSubCommand_; }
    const PTSVGCommand* previousCommand() const { return previousCommand_; }
    // Whether this is a sub-command of the given letter (lower case).
    bool isLetter(char lowerLetter) const { return commandClass_ && commandClass_->letter == QLatin1Char(lowerLetter); }

    // Runs every sub-command against the path; the first one sees the given previous sub-command. Answers the
    // last sub-command run, or nullptr when there was none.
    const PTSVGCommand* run(const PTSVGCommand* previous, PTSVGPath& path) const;

    // Sequential reading of the parameters (0 once they run out).
    double readFloat() const;
    QPointF readPoint() const;
    // True only for exactly 1.
    bool readBOOL() const { return readFloat() == 1.0; }
    void resetRead() const { readPosition_ = 0; }

private:
    // The largest group, an arc's.
    static constexpr int MaximumGroupSize = 7;

    PTSVGCommand(const PTSVGCommand& parent, std::span<const double> group, bool isSubCommand,
                 const PTSVGCommand* previous);

    QChar command_;
    int type_ = 0;
    const PTSVGCommandClass* commandClass_ = nullptr;
    std::vector<double> parameters_;
    // A sub-command keeps its few numbers inline: path data makes one per group, and allocating each would
    // dominate parsing.
    std::array<double, MaximumGroupSize> group_{};
    int groupSize_ = -1;
    std::vector<PTSVGCommand> subCommands_;
    bool isSubCommand_ = false;
    const PTSVGCommand* previousCommand_ = nullptr;
    mutable size_t readPosition_ = 0;
};
