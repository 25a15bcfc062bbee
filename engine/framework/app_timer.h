#pragma once
// The one process-wide clock of the game, in seconds. A single function driven
// by a command: the framework's pause stops it so paused time never reaches the
// game, and every frame asks it for the application time and the elapsed time.

enum TimerCommand : int {
    TIMER_RESET = 0,
    TIMER_START = 1,
    TIMER_STOP = 2,
    TIMER_ADVANCE = 3,            // moves a stopped clock on by 0.1 s (single step)
    TIMER_GET_ABSOLUTE_TIME = 4,  // seconds of the clock source
    TIMER_GET_APP_TIME = 5,       // running time without the stopped periods
    TIMER_GET_ELAPSED_TIME = 6,   // seconds since the previous elapsed-time query
};

// Returns 0.0 for the commands that change the state, the asked time for the
// queries and -1.0 for an unknown command. The timer starts stopped; the first
// start makes the application time begin at 0.
double AppTimer(TimerCommand command);
