"""Runs the real program under a private Xvfb and drives it as a user would.

waiting    waiting on a condition, never on a fixed time
xserver    Xvfb on a free display
program    how the program is launched, and its process
xclient    one X connection: windows, real input through XTEST, screenshots
           and the frames a window shows (DAMAGE)
cursor     the cursor the server shows, with its name
app        the program's window, driven and watched like a user would
pictures   what to look for in a screenshot
"""
