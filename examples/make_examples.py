#!/usr/bin/python3
"""Writes the bundled example logger exports (the project's demo data and test fixtures).

Each file is what the loggers' read-out program saves: Windows-1251 text with CR LF line ends,
a header with the device and its mission, a label section, a status section with the channels
and their limits, and the samples. The samples follow a day/night curve with some noise, so the
reports and charts look like real measurements. The output is the same on every run.

    /usr/bin/python3 examples/make_examples.py
"""
import datetime
import math
import pathlib
import random

HERE = pathlib.Path(__file__).resolve().parent
PROGRAM = "Qorv Reader 3.4 - содержимое логгера"


def write(name, lines):
    (HERE / name).write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1251"))


def stamp(t, seconds=True):
    return t.strftime("%d/%m/%Y %H:%M:%S" if seconds else "%d/%m/%Y %H:%M")


def daily(t, mean, swing, peak_hour=15.0):
    """A day/night curve: highest at peak_hour, lowest twelve hours later."""
    hours = t.hour + t.minute / 60.0
    return mean + swing * math.cos(2 * math.pi * (hours - peak_hour) / 24.0)


def fmt(value, decimals=1):
    text = f"{value:.{decimals}f}"
    return "0.0" if text == "-0.0" else text


def outside(values, low, high):
    """Excursions: how often the series leaves the range between the limits."""
    count, was_out = 0, False
    for v in values:
        out = v < low or v > high
        if out and not was_out:
            count += 1
        was_out = out
    return count


def times(start, step_minutes, count):
    return [start + datetime.timedelta(minutes=step_minutes * i) for i in range(count)]


def header(device, state, start, step_minutes, count, now, rate_words="Частота регистрации"):
    return [
        PROGRAM,
        "",
        f"Устройство - {device}",
        f"Состояние устройства: {state}",
        f"Условия начала измерений: по времени, {stamp(start)}",
        f"{rate_words}: {step_minutes} мин.",
        "Кольцевой буфер: выключен",
        "Превышения кольцевого буфера: нет",
        f"Первый отсчёт: {stamp(start)}",
        "Задержка: 0 мин.",
        f"Отсчётов в данной сессии: {count}",
        f"Всего измерений: {count}",
        f"Текущее время Устройства: {stamp(now)}",
        "",
    ]


def label(*rows):
    return ["Ярлык"] + list(rows) + [""]


def temperature_status(low, high, values):
    return [
        "Канал температуры - 2 байта, разрешение 0.1 (°C)",
        f"Верхний температурный предел: {fmt(high)} °C",
        f"Нижний температурный предел: {fmt(low)} °C",
        f"Выходы за температурные пределы: {outside(values, low, high)}",
    ]


def saved(now):
    return [
        f"Данные сохранены: {stamp(now + datetime.timedelta(seconds=25))}",
        f"Данные считаны: {stamp(now + datetime.timedelta(seconds=9))}",
    ]


def sample_lines(ts, columns):
    return [f" {stamp(t)} - " + " ".join(col[i] for col in columns) for i, t in enumerate(ts)]


def temperature_humidity(rng):
    start = datetime.datetime(2023, 5, 12, 8, 0, 0)
    ts = times(start, 5, 4 * 288)
    now = ts[-1] + datetime.timedelta(minutes=3, seconds=41)
    temps = [daily(t, 21.0, 2.5) + rng.gauss(0, 0.15) for t in ts]
    hums = [min(99.0, max(5.0, 62.0 - 2.8 * (x - 21.0) + rng.gauss(0, 0.8))) for x in temps]
    lines = header("Qorv-TH 0A00000012345678  Версия ПО 2.3", "миссия завершена", start, 5,
                   len(ts), now)
    lines += label("Объект: склад готовой продукции №2", "Место установки: стеллаж 4, полка 2",
                   "Ответственный: Петрова А.С.")
    lines += saved(now)
    lines += temperature_status(17.0, 24.0, temps)
    lines += [
        "Канал данных - 2 байта (%RH)",
        "Верхний предел канала данных: 70.0 %",
        "Нижний предел канала данных: 45.0 %",
        f"Выходы за пределы канала данных: {outside(hums, 45.0, 70.0)}",
        "",
        "Значения измеренных величин",
    ]
    lines += sample_lines(ts, [[f"{fmt(x)} °C" for x in temps], [f"{fmt(h)} %" for h in hums]])
    write("temperature_humidity.txt", lines)


def door_events(rng, ts, opens_per_day=6, open_minutes=(4, 20)):
    """On/off events of a door contact: mostly closed, opened a few times in working hours."""
    state, until, events = False, None, []
    step = (ts[1] - ts[0]).total_seconds() / 60.0
    for t in ts:
        if state and t >= until:
            state = False
        elif not state and 8 <= t.hour < 19 and rng.random() < opens_per_day * step / 660.0:
            state = True
            until = t + datetime.timedelta(minutes=rng.uniform(*open_minutes))
        events.append(state)
    return events


def temperature_events(rng):
    start = datetime.datetime(2023, 6, 1, 0, 0, 0)
    ts = times(start, 2, 2 * 720 + 180)
    now = ts[-1] + datetime.timedelta(minutes=1, seconds=12)
    doors = door_events(rng, ts)
    temps, warm = [], 0.0
    for t, open_ in zip(ts, doors):
        warm = min(6.0, warm + 0.9) if open_ else warm * 0.8  # the chamber warms while open
        temps.append(daily(t, 4.5, 0.4) + warm + rng.gauss(0, 0.1))
    lines = header("Qorv-TE 0B00000023456789  Версия ПО 2.3", "миссия идёт", start, 2, len(ts),
                   now)
    lines += label("Объект: холодильная камера №1", "Датчик двери: вход камеры",
                   "Ответственный: Сидоров В.П.")
    lines += saved(now)
    lines += temperature_status(2.0, 8.0, temps)
    lines += [
        "Канал данных - 1 байт ()",
        "Верхний предел канала данных: не задан",
        "Нижний предел канала данных: не задан",
        "Выходы за пределы канала данных: 0",
        "",
        "Значения измеренных величин",
    ]
    lines += sample_lines(ts, [[f"{fmt(x)} °C" for x in temps],
                               ["1 (Есть)" if d else "0 (Нет)" for d in doors]])
    write("temperature_events.txt", lines)


def events_only(rng):
    start = datetime.datetime(2023, 6, 10, 12, 0, 0)
    ts = times(start, 5, 3 * 288)
    now = ts[-1] + datetime.timedelta(minutes=2, seconds=5)
    doors = door_events(rng, ts, opens_per_day=4, open_minutes=(5, 40))
    lines = header("Qorv-E 0C00000034567890  Версия ПО 2.1", "миссия завершена", start, 5,
                   len(ts), now)
    lines += label("Объект: серверная, шкаф 3", "Датчик: дверь шкафа")
    lines += saved(now)
    lines += [
        "Канал температуры отсутствует",
        "Канал данных - 1 байт ()",
        "Выходы за пределы канала данных: 0",
        "",
        "Значения измеренных величин",
    ]
    lines += sample_lines(ts, [["1 (Есть)" if d else "0 (Нет)" for d in doors]])
    write("events_only.txt", lines)


def humidity_only(rng):
    start = datetime.datetime(2023, 7, 3, 9, 30, 0)
    ts = times(start, 10, 5 * 144)
    now = ts[-1] + datetime.timedelta(minutes=7, seconds=50)
    hums = [min(99.0, max(5.0, daily(t, 55.0, 9.0, peak_hour=5.0) + rng.gauss(0, 1.0)))
            for t in ts]
    lines = header("Qorv-H 0D00000045678901  Версия ПО 2.2", "миссия завершена", start, 10,
                   len(ts), now)
    lines += label("Объект: архив, помещение 12", "Место установки: у окна")
    lines += saved(now)
    lines += [
        "Канал температуры отсутствует",
        "Канал данных - 2 байта (%RH)",
        "Верхний предел канала данных: 65.0 %",
        "Нижний предел канала данных: 40.0 %",
        f"Выходы за пределы канала данных: {outside(hums, 40.0, 65.0)}",
        "",
        "Значения измеренных величин",
    ]
    lines += sample_lines(ts, [[f"{fmt(h)} %" for h in hums]])
    write("humidity_only.txt", lines)


def two_temperatures(rng):
    start = datetime.datetime(2023, 8, 14, 0, 0, 0)
    ts = times(start, 15, 3 * 96 + 40)
    now = ts[-1] + datetime.timedelta(minutes=11, seconds=2)
    room = [daily(t, 22.0, 1.8) + rng.gauss(0, 0.12) for t in ts]
    freezer, heating = [], False
    for t in ts:
        if t.hour % 8 == 2 and t.minute < 30:  # defrost cycles every eight hours
            heating = True
        elif heating and t.minute >= 30:
            heating = False
        freezer.append((-12.5 if heating else -19.0) + rng.gauss(0, 0.3))
    lines = header("Qorv-TT 0E00000056789012  Версия ПО 2.3", "миссия завершена", start, 15,
                   len(ts), now)
    lines += label("Объект: магазин №7, морозильный ларь", "Датчик 2: выносной, в ларе")
    lines += saved(now)
    lines += temperature_status(18.0, 26.0, room)
    lines += [
        "Канал данных - 2 байта ()",
        "Верхний предел канала данных: -15.0 °C",
        "Нижний предел канала данных: -25.0 °C",
        f"Выходы за пределы канала данных: {outside(freezer, -25.0, -15.0)}",
        "",
        "Значения измеренных величин",
    ]
    lines += sample_lines(ts, [[f"{fmt(x)} °C" for x in room], [f"{fmt(x)} °C" for x in freezer]])
    write("temperature_second_temperature.txt", lines)


def ds1921_temperature(rng):
    # A DS1921 Thermochron in a pharmacy refrigerator: 0.5 °C steps, times without seconds.
    start = datetime.datetime(2023, 4, 3, 8, 0, 0)
    ts = times(start, 10, 3 * 144 + 20)
    now = ts[-1] + datetime.timedelta(minutes=4, seconds=31)
    temps = []
    for t in ts:
        x = daily(t, 5.0, 0.8) + rng.gauss(0, 0.3)
        if t.day == 4 and 11 <= t.hour < 12:
            x += 4.0  # a delivery left the door open
        temps.append(round(x * 2) / 2)
    lines = [
        PROGRAM,
        "",
        "Устройство - DS1921G-F5 21000000B2C4D6E8  Thermochron",
        "Состояние устройства: миссия завершена",
        "Частота отсчётов: 10 мин.",
        f"Первый отсчёт: {stamp(start, seconds=False)}",
        "Задержка: 0 мин.",
        f"Отсчётов в данной сессии: {len(ts)}",
        f"Всего измерений: {len(ts) + 2048}",
        "",
        "Ярлык",
        "Объект: аптека №15, холодильник для вакцин",
        "Ответственный: Кузнецова Е.Н.",
        "",
        f"Данные сохранены: {stamp(now + datetime.timedelta(seconds=20))}",
        f"Текущее время Устройства: {stamp(now)}",
        "Канал температуры - 1 байт, разрешение 0.5 (°C)",
        f"Данные считаны: {stamp(now + datetime.timedelta(seconds=8))}",
        "Верхний температурный предел: 8.0 °C",
        "Нижний  температурный предел: 2.0 °C",
        f"Выходы за температурные пределы: {outside(temps, 2.0, 8.0)}",
        "",
        "Значения температуры",
    ]
    lines += [f" {stamp(t, seconds=False)} - {fmt(x)} °C" for t, x in zip(ts, temps)]
    write("ds1921_temperature.txt", lines)

def mapping_study(rng):
    """A cold room mapped with five loggers over two days: the shelves near the cooler are the
    coldest, the one by the door warms up when it is opened, one logger logs every 15 minutes
    and one was started an hour after the others."""
    (HERE / "mapping").mkdir(exist_ok=True)
    places = [
        ("0F00000000000101", "у испарителя, верх", 3.2, 0.3, 0, 10),
        ("0F00000000000102", "стеллаж 1, низ", 4.6, 0.4, 0, 10),
        ("0F00000000000103", "стеллаж 2, середина", 5.0, 0.5, 0, 15),
        ("0F00000000000104", "у двери", 5.9, 0.8, 0, 10),
        ("0F00000000000105", "центр камеры", 4.9, 0.4, 60, 10),
    ]
    begin = datetime.datetime(2023, 9, 4, 9, 0, 0)
    for number, (device, place, mean, swing, late, step) in enumerate(places, start=1):
        start = begin + datetime.timedelta(minutes=late)
        ts = times(start, step, (48 * 60 - late) // step)
        now = ts[-1] + datetime.timedelta(minutes=2, seconds=17)
        temps = []
        for t in ts:
            x = daily(t, mean, swing, peak_hour=16.0) + rng.gauss(0, 0.08)
            # The door opens for a delivery every morning: the place by it warms for a while.
            if place == "у двери" and 8 <= t.hour < 9:
                x += 2.6 * math.sin(math.pi * (t.minute / 60.0))
            temps.append(x)
        lines = header(f"Qorv-T {device}  Версия ПО 2.3", "миссия завершена", start, step,
                       len(ts), now)
        lines += label("Объект: холодильная камера №3, картирование", f"Место установки: {place}",
                       "Ответственный: Смирнов И.П.")
        lines += saved(now)
        lines += temperature_status(2.0, 8.0, temps)
        lines += ["", "Значения измеренных величин"]
        lines += [f" {stamp(t)} - {fmt(x)} °C" for t, x in zip(ts, temps)]
        write(f"mapping/cold_room_{number}.txt", lines)


if __name__ == "__main__":
    for make in (ds1921_temperature, temperature_humidity, temperature_events, events_only,
                 humidity_only, two_temperatures, mapping_study):
        make(random.Random(make.__name__))
