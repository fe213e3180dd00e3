#!/usr/bin/env python3
"""A TCP relay on loopback that delays every chunk by a fixed time in each
direction and counts round trips.

usage: relay.py LISTEN_PORT TARGET_PORT DELAY_MS STATS_FILE

LISTEN_PORT 0 lets the system choose a free port; it is written to
STATS_FILE.port before the stats file first appears.

A round trip is counted each time data flows server->client after having
flowed client->server on the same connection (a direction change), so the
server's greeting alone counts nothing. STATS_FILE is rewritten after every
chunk with "round_trips connections bytes_up bytes_down". Runs until killed.
"""
import asyncio
import sys
import time


class Stats:
    def __init__(self, path):
        self.path = path
        self.round_trips = 0
        self.connections = 0
        self.bytes_up = 0
        self.bytes_down = 0

    def save(self):
        with open(self.path, "w") as out:
            out.write("%d %d %d %d\n" % (self.round_trips, self.connections,
                                         self.bytes_up, self.bytes_down))


async def pump(reader, writer, delay, on_chunk):
    """Copies reader to writer, each chunk delivered `delay` after it came."""
    queue = asyncio.Queue()

    async def deliver():
        while True:
            due, chunk = await queue.get()
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            if chunk is None:
                try:
                    writer.write_eof()
                except OSError:
                    pass
                return
            writer.write(chunk)
            await writer.drain()

    delivering = asyncio.create_task(deliver())
    try:
        while True:
            chunk = await reader.read(65536)
            on_chunk(chunk)
            await queue.put((time.monotonic() + delay, chunk or None))
            if not chunk:
                break
        await delivering
    except (ConnectionError, OSError):
        delivering.cancel()


async def main():
    listen_port, target_port = int(sys.argv[1]), int(sys.argv[2])
    delay = int(sys.argv[3]) / 1000.0
    stats = Stats(sys.argv[4])

    async def handle(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target_port)
        stats.connections += 1
        last = {"direction": None}

        def seen(direction, chunk):
            if not chunk:
                return
            if direction == "down" and last["direction"] == "up":
                stats.round_trips += 1
            last["direction"] = direction
            if direction == "up":
                stats.bytes_up += len(chunk)
            else:
                stats.bytes_down += len(chunk)
            stats.save()

        await asyncio.gather(
            pump(client_reader, server_writer, delay, lambda c: seen("up", c)),
            pump(server_reader, client_writer, delay, lambda c: seen("down", c)))
        for writer in (client_writer, server_writer):
            writer.close()

    server = await asyncio.start_server(handle, "127.0.0.1", listen_port)
    with open(stats.path + ".port", "w") as out:
        out.write("%d\n" % server.sockets[0].getsockname()[1])
    stats.save()  # listening now
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main())
