// Profit calculator scenes.
#include <QLabel>
#include <QLineEdit>
#include <memory>

#include "common/TZEMSpinEdit.h"
#include "recipes/TZEMForm081.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar profitShots("profit", [](ShotContext& ctx) {
    // A fief product of the sample database with five materials, two runs and market indices.
    const std::unique_ptr<TZEMForm081> w(
        TZEMForm081::openFor(QStringLiteral("漆器膳"), ctx.itemDatabase));
    w->findChild<TZEMSpinEdit*>(QStringLiteral("iptUriTime"))->setText(QStringLiteral("2"));
    w->findChild<QLineEdit*>(QStringLiteral("iptUriSisu"))->setText(QStringLiteral("01.35"));
    const QStringList indices{QStringLiteral("01.10"), QStringLiteral("00.95"),
                              QStringLiteral("01.20"), QStringLiteral("01.00"),
                              QStringLiteral("01.05")};
    for (int k = 0; k < indices.size(); ++k) {
        if (auto* box = w->findChild<QLineEdit*>(QStringLiteral("iptZaiSisu%1").arg(k))) {
            box->setText(indices[k]);
        }
    }
    ctx.save(w.get(), QStringLiteral("profit_chigyo"));

    // A fief speciality with seven materials: sold at the shop sell price, no product index.
    const std::unique_ptr<TZEMForm081> m(
        TZEMForm081::openFor(QStringLiteral("西陣織の帯"), ctx.itemDatabase));
    ctx.save(m.get(), QStringLiteral("profit_meibutsu"));

    // Counts and prices at the 32-bit limit, three runs: every figure shows all its digits.
    const std::unique_ptr<TZEMForm081> large(
        TZEMForm081::openFor(QStringLiteral("見本：桁の大きい品"), ctx.itemDatabase));
    large->findChild<TZEMSpinEdit*>(QStringLiteral("iptUriTime"))->setText(QStringLiteral("3"));
    ctx.save(large.get(), QStringLiteral("profit_large_figures"));
});

}  // namespace
