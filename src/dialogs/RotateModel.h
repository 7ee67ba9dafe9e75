#pragma once
// What the Rotate Degree dialog computes: the label that names the direction
// and the check of the typed degree on OK.
#include <QString>

#include <optional>

class RotateModel {
public:
    explicit RotateModel(bool clockwise) : m_bClockwise(clockwise) {}

    // "Clockwise:" or "Counter Clockwise:".
    QString Label() const;

    // OK: reads the degree from m_strDegree. nullopt when it is 1 .. 360
    // (m_nDegree then holds it), else the message to show; the text stays.
    std::optional<QString> Validate();

    QString m_strDegree = QStringLiteral("10");
    int m_nDegree = 0;
    bool m_bClockwise;

    static constexpr int kMaxChars = 3;
    static constexpr int kMinDegree = 1;
    static constexpr int kMaxDegree = 360;
};
