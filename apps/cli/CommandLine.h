// The command line of one `mycad` command: options checked against those
// the command knows, positional arguments, usage errors; and the drawing a
// command reads.
#pragma once

#include "apps/common/DrawingFiles.h"
#include "cad/canvas/MyCAD.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>
#include <vector>

namespace mycad::cli {

/// A whole number in range; nullopt otherwise.
inline std::optional<int> IntIn(const QString& text, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) return std::nullopt;
    return v;
}

class TCommandLine {
public:
    TCommandLine(QString command, QStringList args, QTextStream& err)
        : command_(std::move(command)), err_(err), args_(std::move(args))
    {
    }

    /// "--help" anywhere before a "--".
    bool WantsHelp() const
    {
        for (const QString& a : args_) {
            if (a == QLatin1String("--")) return false;
            if (a == QLatin1String("--help")) return true;
        }
        return false;
    }

    /// Checks the options against those the command knows; the ones that
    /// take a value take the next argument when not given with "=".
    bool Parse(const QStringList& flags, const QStringList& valued)
    {
        std::vector<Option> parsed;
        QStringList positional;
        for (qsizetype i = 0; i < args_.size(); ++i) {
            const QString& a = args_.at(i);
            if (a == QLatin1String("--")) {
                for (++i; i < args_.size(); ++i) positional.push_back(args_.at(i));
                break;
            }
            if (!a.startsWith(QLatin1String("--"))) {
                positional.push_back(a);
                continue;
            }
            const qsizetype eq = a.indexOf(u'=');
            const QString name = eq > 0 ? a.left(eq) : a;
            if (flags.contains(name)) {
                if (eq > 0) return Usage(QStringLiteral("option '%1' takes no value").arg(name));
                parsed.push_back({name, QString(), false});
            } else if (valued.contains(name)) {
                if (eq > 0) {
                    parsed.push_back({name, a.mid(eq + 1), true});
                } else if (i + 1 < args_.size()) {
                    parsed.push_back({name, args_.at(++i), true});
                } else {
                    return Usage(QStringLiteral("option '%1' needs a value").arg(name));
                }
            } else {
                return Usage(QStringLiteral("unknown option '%1'").arg(name));
            }
        }
        options_ = std::move(parsed);
        positional_ = std::move(positional);
        return true;
    }

    const QStringList& Positional() const { return positional_; }
    /// The arguments as given.
    const QStringList& Args() const { return args_; }
    bool Has(const QString& name) const
    {
        for (const Option& o : options_) {
            if (o.name == name) return true;
        }
        return false;
    }
    std::optional<QString> Value(const QString& name) const
    {
        std::optional<QString> last;
        for (const Option& o : options_) {
            if (o.name == name) last = o.value;
        }
        return last;
    }

    /// Reports a usage error; always false.
    bool Usage(const QString& text) const
    {
        err_ << "mycad " << command_ << ": " << text << " (see 'mycad " << command_ << " --help')\n";
        return false;
    }

    /// The whole number given for an option, kept in value when it lies in
    /// [low, high]; otherwise reports a usage error and returns false. An
    /// option not given leaves value as it is.
    template <class TValue>
    bool IntOption(const QString& name, int low, int high, TValue& value) const
    {
        const std::optional<QString> text = Value(name);
        if (!text) return true;
        const std::optional<int> v = IntIn(*text, low, high);
        if (!v) return Usage(QStringLiteral("%1 must be a whole number from %2 to %3").arg(name).arg(low).arg(high));
        value = *v;
        return true;
    }

private:
    struct Option {
        QString name;
        QString value;
        bool hasValue = false;
    };
    QString command_;
    QTextStream& err_;
    QStringList args_;
    std::vector<Option> options_;
    QStringList positional_;
};

/// The canvas of one command, with the drawing read from a file.
struct TLoadedDrawing {
    TMyCAD cad;
    bool ok = false;

    TLoadedDrawing(const QString& fileName, QTextStream& err)
    {
        const app::TOpenResult result = app::OpenDrawing(cad, fileName);
        ok = result == app::TOpenResult::Opened;
        if (!ok) err << "mycad: " << app::OpenErrorText(result, fileName) << '\n';
    }
};

} // namespace mycad::cli
