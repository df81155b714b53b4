#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

// The texts the main window shows. The core writes them; Form1 binds each label (found
// by the field's objectName) to its text; headless tests read them here.
class MainState : public QObject
{
    Q_OBJECT
public:
    enum class Field {
        Status,          // lblStatus
        CurrTime,        // lblCurrTime: this call's time online
        TodayTime,       // lblTodayTime
        MonthTime,       // lblMonthTime
        TotTime,         // lblTotTime
        Cost,            // lblCost: the provider's total payment
        Sym,             // lblSym: currency symbol
        CallsNumber,     // lblCallsNumber
        TariffName,      // lblTariffName
        MinuteCost,      // lblMinuteCost
        Date,            // lblDate
        Time,            // lblTime
        BytesRcved,      // lblBytesRcved
        BytesXmited,     // lblBytesXmited
        ConnectionSpeed, // lblConnectionSpeed
        Alertmsg,        // lblAlertmsg
        Email,           // lblEmail: the mail check's countdown and result
        Caption,         // the main window's title
        Count_
    };
    Q_ENUM(Field)

    explicit MainState(QObject *parent = nullptr);

    QString text(Field field) const { return m_texts[index(field)]; }
    void setText(Field field, const QString &text);

    // The objectName of the control that shows the field ("lblStatus").
    static QString controlName(Field field);

    // The provider list (Combo1): its items, the item shown, and whether it can be used.
    QStringList providerList() const { return m_providerList; }
    void setProviderList(const QStringList &items);
    QString selectedProvider() const { return m_selectedProvider; }
    void setSelectedProvider(const QString &name);
    bool providerListEnabled() const { return m_providerListEnabled; }
    void setProviderListEnabled(bool enabled);

    // Whether the main window is minimized (or hidden in the tray); the window sets it.
    bool windowMinimized() const { return m_windowMinimized; }
    void setWindowMinimized(bool minimized) { m_windowMinimized = minimized; }

    // Pictures the window shows or hides: imgAlert (with lblAlertmsg) and imgEmail.
    enum class Indicator { Alert, Email, Count_ };
    bool isShown(Indicator indicator) const { return m_indicators[std::size_t(indicator)]; }
    void setShown(Indicator indicator, bool shown);

signals:
    void textChanged(MainState::Field field, const QString &text);
    void providerListChanged(const QStringList &items);
    void selectedProviderChanged(const QString &name);
    void providerListEnabledChanged(bool enabled);
    void indicatorChanged(MainState::Indicator indicator, bool shown);

private:
    QStringList m_providerList;
    QString m_selectedProvider;
    bool m_providerListEnabled = true;
    bool m_windowMinimized = false;
    std::array<bool, std::size_t(Indicator::Count_)> m_indicators{};
    static constexpr std::size_t index(Field field) { return static_cast<std::size_t>(field); }
    std::array<QString, static_cast<std::size_t>(Field::Count_)> m_texts;
};
