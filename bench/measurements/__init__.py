"""The measurements bench/run makes and the programs they start."""
