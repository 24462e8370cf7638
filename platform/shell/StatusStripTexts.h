#pragma once
// The words of the phone's status strip. The device shows them in its own language; here the
// program that runs on the simulated phone hands over its texts, so that the strip speaks the
// user's language as the program does. Until then the strip speaks English.
struct StatusStripTexts {
    const wchar_t* radioOn;
    const wchar_t* radioOff;
    const wchar_t* radioPart;
    const wchar_t* radioUnknown;
    const wchar_t* bluetoothOff;
    const wchar_t* bluetoothOn;
    const wchar_t* bluetoothVisible;
    const wchar_t* bluetoothUnknown;
};

// The texts must live as long as the strip shows them.
void SetStatusStripTexts(const StatusStripTexts& texts);
