#!/usr/bin/env python3
"""Binds each character of the arguments to a free key code of the X server, through libX11.

xdotool types a character that has no key by binding it to a spare key for the moment of the key press and
unbinding it at once; a program that reads the press a frame later finds the key unbound and gets nothing.
Characters bound here for the whole test are typed with their own keys.
"""
import ctypes
import sys

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XFree.argtypes = [ctypes.c_void_p]

display = x11.XOpenDisplay(None)
if not display:
    sys.exit("map_keys: cannot open the display")
low, high = ctypes.c_int(), ctypes.c_int()
x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
per = ctypes.c_int()
count = high.value - low.value + 1
table = x11.XGetKeyboardMapping(display, low.value, count, ctypes.byref(per))
free = [low.value + i for i in range(1, count) if all(table[i * per.value + j] == 0 for j in range(per.value))]
x11.XFree(table)
characters = sorted(set(c for c in "".join(sys.argv[1:]) if ord(c) > 0x7F))  # ASCII has keys
if len(characters) > len(free):
    sys.exit("map_keys: not enough free key codes")
for code, character in zip(free, characters):
    # The same symbol with and without Shift.
    keysym = (ctypes.c_ulong * 2)(0x1000000 + ord(character), 0x1000000 + ord(character))
    x11.XChangeKeyboardMapping(display, code, 2, keysym, 1)
x11.XSync(display, 0)
