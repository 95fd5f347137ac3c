#!/usr/bin/env python3
"""compare.py with model variants switched on: run_variants.py BATCH DIR [name=1 ...]
(k0_single: clear-sky radiation stored as single first; c96_single: night constant 9.600001 as single)."""
import sys; sys.path.insert(0, __import__('os').path.dirname(__import__('os').path.abspath(__file__)))
import metmodel, compare
for kv in sys.argv[3:]:
    k,v=kv.split('='); metmodel.VARIANT[k]=int(v)
sys.argv=['compare.py',sys.argv[1],sys.argv[2],'-v']
sys.exit(compare.main())
