#pragma once
// One broken rule: which picture, which rule, what was found and where.
// Printed as "level-05.png: start disc: expected 441 red pixels ...".

#include <QPoint>
#include <QString>
#include <vector>

namespace zw::check {

struct Finding {
    QString picture; // file name, e.g. "level-05.png"
    QString rule;    // short rule name, e.g. "start disc"
    QString detail;  // what is wrong, with coordinates
    QPoint at{-1, -1}; // the first offending pixel, when there is one

    QString line() const { return picture + QStringLiteral(": ") + rule + QStringLiteral(": ") + detail; }
};

// Collects the findings of one picture; rules only ever append.
class Findings {
public:
    explicit Findings(QString picture) : picture_(std::move(picture)) {}

    void add(const QString& rule, const QString& detail, QPoint at = {-1, -1})
    {
        list_.push_back({picture_, rule, detail, at});
    }
    std::vector<Finding> take() { return std::move(list_); }

private:
    QString picture_;
    std::vector<Finding> list_;
};

} // namespace zw::check
