import korvane


def test_meter_value_round_trip_and_signal(app):
    m = korvane.TMeter()
    seen = []
    m.valueChanged.connect(seen.append)
    m.SetValue(0.5)
    assert m.Value() == 0.5
    assert seen == [0.5]
