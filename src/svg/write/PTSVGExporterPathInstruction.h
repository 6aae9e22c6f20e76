#pragma once

#include <QString>

#include <initializer_list>
#include <vector>

class PTSVGBezierPath;

// One command of SVG path data as the exporter writes it: a letter and its numbers (M, L, T two; H, V one;
// Q, S four; C six; A seven; Z none, in either case).
class PTSVGExporterPathInstruction {
public:
    PTSVGExporterPathInstruction(char instruction, int dataCount);
    PTSVGExporterPathInstruction(char instruction, std::initializer_list<double> data);

    char instruction() const { return instruction_; }
    void setInstruction(char instruction) { instruction_ = instruction; }
    std::vector<double>& data() { return data_; }
    const std::vector<double>& data() const { return data_; }
    int dataLength() const { return int(data_.size()); }

    // The path's elements in order with H and V for lines that keep one coordinate; a move left after a final
    // close is dropped. Quadratic segments stay quadratic.
    static std::vector<PTSVGExporterPathInstruction> instructionsFromPath(const PTSVGBezierPath& path);
    // Rewrites the list in relative coordinates; the first instruction stays absolute. Each relative number is
    // measured from the position a reader reaches by adding up the numbers as printed, so rounding never
    // accumulates along a path.
    static void convertInstructionsToRelativeCoordinates(std::vector<PTSVGExporterPathInstruction>& instructions);
    // "M0,0H10V5H0Z": numbers with at most six significant digits, or with at most decimals digits after the
    // point when decimals is not negative; no separators between commands.
    static QString pathStringFromInstructions(const std::vector<PTSVGExporterPathInstruction>& instructions,
                                              int decimals = -1);
    // This instruction as the path string prints it: pairs joined by a comma and parted by a space, an arc as
    // "A3,2 0 0 1 5,5".
    QString text(int decimals = -1) const;
    // A number as path data prints it: trailing zeros and a lone minus of zero dropped.
    static QString numberText(double value, int decimals);

private:
    char instruction_;
    std::vector<double> data_;
};
