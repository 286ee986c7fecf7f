#!/usr/bin/python3
"""Writes the reader's tiny fixture files, one per case, named for the case.

Logger files are Windows-1251 with CR LF, as the read-out program writes them; the utf8_*
files are the same content as a user's converter leaves it. Run from anywhere:
    /usr/bin/python3 tests/import/data/make_fixtures.py
"""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def write(name, lines, encoding="cp1251", bom=False, line_end="\r\n", last_line_end=True):
    text = line_end.join(lines) + (line_end if last_line_end else "")
    data = text.encode(encoding)
    if bom:
        data = b"\xef\xbb\xbf" + data
    (HERE / name).write_bytes(data)


# A DS1921 export: its data channel counts as absent, "Данные считаны:" ends the status
# section, the limit lines after it still count, and samples have no seconds.
DS1921 = [
    "Программа считывания логгеров 4.1",
    "Устройство - DS1921G-F5 2A000000A1B2C3D4  Thermochron",
    "Состояние устройства: миссия завершена",
    "Частота отсчётов: 10 мин.",
    "Первый отсчёт: 03/04/2023 08:00",
    "Всего измерений: 5",
    "Ярлык:",
    "Склад №3, стеллаж 12",
    "",
    "Ответственный: Иванов И.И.",
    "Данные сохранены: 05/04/2023 09:15:02",
    "Текущее время Устройства: 05/04/2023 09:14:58",
    "Верхний температурный предел: 8.0 °C",
    "Нижний температурный предел: 2.0 °C",
    "Канал данных - влажность ()",
    "Данные считаны: 05/04/2023 09:15:02",
    "Комментарий после считывания",
    "Нижний  температурный предел: 2.5 °C",
    "Выходы за температурные пределы: 1",
    "Нижний температурный предел: 1.0 °C",
    "Значения измеренных величин",
    "Значения температуры",
    " 03/04/2023 08:00 - 4.5 °C",
    " 03/04/2023 08:10 - 4.0 °C",
    " 03/04/2023 23:50 - 3.5 °C",
    " 04/04/2023 00:00 - 3.5 °C",
    " 04/04/2023 00:10 - 8.5 °C",
]

# A two-channel export (temperature and humidity) that touches every keyword once. Its device
# mentions DS1921 but is a Qorv device, so it is not laid out the DS1921 way.
TWO_CHANNEL = [
    "Программа считывания логгеров 4.1",
    "Устройство - Qorv-TH 0A00000012345678  (совместим с DS1921)",
    "Состояние устройства: миссия идёт",
    "Условия начала измерений: немедленно",
    "Частота регистрации: 5 мин.",
    "Кольцевой буфер: выключен",
    "Превышения кольцевого буфера: нет",
    "Задержка: 0 мин.",
    "Ярлык",
    "Холодильная камера 2",
    "",
    "Партия 0415",
    "Данные сохранены: 12/05/2023 10:00:00",
    "Канал температуры - 2 байта (°C)",
    "Канал данных - влажность, 2 байта ()",
    "Верхний температурный предел: 25.0 °C",
    "Нижний температурный предел: 15.0 °C",
    "Выходы за температурные пределы: 2",
    "Верхний предел канала данных: 70.0 %",
    "Нижний предел канала данных: 30.0 %",
    "Выходы за пределы канала данных: 0",
    "Данные считаны: 12/05/2023 10:00:05",
    "Значения температуры",
    "",
    "Отсчётов в данной сессии: 4",
    "Всего измерений: 4",
    "Значения измеренных величин",
    " 11/05/2023 23:55:00 - 21.5 °C 45.0 %",
    " 12/05/2023 00:00:00 - 21.4 °C 45.2 %",
    "",
    " 12/05/2023 00:05:00 - 21.3 °C 45.5 %",
    " 12/05/2023 00:10:00 - 21.3 °C 45.9 %",
]

NO_SAMPLES = [
    "Устройство - Qorv-TH 0A00000087654321  Версия 2",
    "Частота регистрации: 1 мин.",
    "Данные сохранены: 01/06/2023 12:00:00",
    "Канал температуры - 2 байта (°C)",
    "Канал данных - влажность ()",
    "Значения измеренных величин",
]

write("ds1921_layout.txt", DS1921)
write("two_channel_layout.txt", TWO_CHANNEL)
write("no_samples.txt", NO_SAMPLES)
write("utf8_cyrillic_without_bom.txt", TWO_CHANNEL, encoding="utf-8")
write("utf8_cyrillic_with_bom.txt", TWO_CHANNEL, encoding="utf-8", bom=True)
write("file_ending_without_line_break.txt", TWO_CHANNEL, last_line_end=False)
write("lone_lf_line_ends.txt", TWO_CHANNEL, line_end="\n")
write("lone_cr_line_ends.txt", TWO_CHANNEL, line_end="\r")
