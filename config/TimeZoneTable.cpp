#include "config/TimeZoneTable.h"

namespace {

const char16_t* const kTexts[TimeZoneTable::kRowCount] = {
    u"(GMT-12:00) International Date Line West",
    u"(GMT-11:00) Midway, Island, Samoa",
    u"(GMT-10:00) Hawaii",
    u"(GMT-09:00) Alaska",
    u"(GMT-08:00) Pacific Time(US&Canada), Tijuana, Baja California",
    u"(GMT-07:00) Mountain Time(US&Canada), Chihuahua, La Paz",
    u"(GMT-06:00) Central Time(US&Canada), Mexico City, Monterrey",
    u"(GMT-05:00) Eastern Time(US&Canada), Bogota, Lima, Quito",
    u"(GMT-04:00) Atlantic Time(Canada), La Paz, Manaus, Santiago",
    u"(GMT-03:00) Brasilia, Buenos Aires, Georgetown, Greenland",
    u"(GMT-02:00) Mid-Atlantic",
    u"(GMT-01:00) Azores, Cape Verde Is.",
    u"(GMT) Coordinated Universal Time, Casablanca, London",
    u"(GMT+01:00) West Central Africa, Paris, Berlin, Rome",
    u"(GMT+02:00) Amman, Athens, Istanbul, Cairo, Jerusalem",
    u"(GMT+03:00) Baghdad, Kuwait, Riyadh, Moscow, Nairobi",
    u"(GMT+04:00) Abu Dhabi, Muscat, Baku, Port Louis, Yerevan",
    u"(GMT+05:00) Ekaterinburg, Islamabad, Karachi, Tashkent",
    u"(GMT+06:00) Almaty, Novosibirsk, Astana, Dhaka",
    u"(GMT+07:00) Bangkok, Hanoi, Jakarta, Krasnoyarsk",
    u"(GMT+08:00) Perth, Taipei, Beijing, Chongqing, Hong Kong",
    u"(GMT+09:00) Seoul, Tokyo, Yakutsk",
    u"(GMT+10:00) Brisbane, Canberra, Guam, Hobart, Vladivostok",
    u"(GMT+11:00) Magadan, Solomon Is., New Caledonia",
    u"(GMT+12:00) Auckland, Wellington, Fiji",
};

// Parallel to the texts: the camera counts whole hours only.
constexpr int kOffsets[TimeZoneTable::kRowCount] = {
    -12, -11, -10, -9, -8, -7, -6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
};

bool isRow(int row) { return row >= 0 && row < TimeZoneTable::kRowCount; }

} // namespace

QString TimeZoneTable::Text(int row)
{
    return isRow(row) ? QString::fromUtf16(kTexts[row]) : QString();
}

std::optional<int> TimeZoneTable::OffsetHours(int row)
{
    if (!isRow(row))
        return std::nullopt;
    return kOffsets[row];
}

int TimeZoneTable::LocalOffsetHours(int row, bool daylightSaving)
{
    return OffsetHours(row).value_or(0) + (daylightSaving ? 1 : 0);
}
