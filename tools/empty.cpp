// Keeps the game library valid while its folders are still empty.
